#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>

namespace peers {

// The news host's "/dbui/ipad/": a query with a "code" answers the company page of that code, a
// short page of our own; any other the made-up analysis page named by its "r" (tests/peers/
// panel-pages, the home page without one), as scripts/news-host serves them.
inline constexpr char PanelLocation[] =
    R"(location = /dbui/ipad/ { default_type "text/html; charset=utf-8"; charset utf-8; root )" QV_PANEL_PAGES_DIR
    R"(; if ($arg_code != "") { return 200 "<html><head><meta charset='utf-8'><style>body{background-color:black;color:#dcdcdc;font-size:16px;margin:20px}h2{color:#f4d839}</style></head><body><h2>公司资料 $arg_code</h2><p>公司概况：资讯服务器按证券代码给出的公司资料摘要。</p><p>主营业务、股本结构、财务摘要与分红送配以公司公告为准。</p></body></html>"; } try_files /dbui/ipad/$arg_r.html /dbui/ipad/index.html =404; })"
    "\n";

// A real nginx (nginx-light with the echo module) on free 127.0.0.1 ports, serving a folder in the
// temporary directory ($TMPDIR: the test's own home), started by the constructor and stopped (its folder
// removed) by the destructor. It answers plain HTTP on port() and, when asked, HTTPS on tlsPort() with a
// certificate the openssl command makes for 127.0.0.1.
//
// Locations: files under root() (gzip for JSON and text, ranges); "/conn" answers the connection
// number; "/echo/headers" the request head; "/echo/body" the request body; "/echo/method" the
// method; "/basic/x" answers "welcome" to user "user", password
// "pass" (Basic); "/chain/N" redirects with 302
// to "/chain/N-1" down to "/chain/0", which answers "done"; "/redirect/301", "/302", "/303" and
// "/307" redirect to "/echo/method"; "/cookie" sets the cookie "a=1"; "/status/N" answers status N
// (200, 204, 400, 401, 403, 404, 407, 416, 500, 503); "/slow/" serves files at 1 KB/s; "/close" answers with
// "Connection: close". With `companyPages`, "/dbui/ipad/" answers the company page of the query's
// "code" and the analysis pages by their "r" (PanelLocation) in place of files there.
class NginxPeer {
public:
    struct Options {
        bool https = false;
        // Extra directives inside the plain server block.
        std::string extraLocations;
        bool companyPages = false;
    };

    NginxPeer() : NginxPeer(Options{}) {}
    explicit NginxPeer(Options options);
    ~NginxPeer();
    NginxPeer(const NginxPeer &) = delete;
    NginxPeer &operator=(const NginxPeer &) = delete;

    // Whether nginx came up.
    bool running() const { return pid_ > 0; }
    uint16_t port() const { return port_; }
    uint16_t tlsPort() const { return tlsPort_; }
    std::string url(const std::string &path) const;
    std::string tlsUrl(const std::string &path) const;
    // The served folder; tests put files into it.
    const std::string &root() const { return root_; }
    void writeFile(const std::string &relativePath, const std::string &contents) const;
    // Copies our news host's documents (tests/peers/news) into root(), their "__NEWS_HOST__"
    // written as this server's address, so that the absolute links in them lead back here.
    void serveNewsRoot() const;
    // The same copy into any folder, for a news host on `address` ("http://127.0.0.1:21380").
    static void copyNewsRoot(const std::string &folder, const std::string &address);
    // The server's certificate (PEM), for a client that trusts it.
    std::string certificate() const { return dir_ + "/cert.pem"; }
    // The folder holding everything nginx writes; removed by the destructor.
    const std::string &directory() const { return dir_; }

    // A free loopback port (nothing listens on it once returned).
    static uint16_t freePort();

private:
    std::string config(const Options &options) const;

    std::string dir_, root_;
    uint16_t port_ = 0, tlsPort_ = 0;
    pid_t pid_ = -1;
};

} // namespace peers
