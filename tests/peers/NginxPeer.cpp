#include "peers/NginxPeer.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <string_view>
#include <sys/inotify.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace peers {

namespace {

constexpr const char *PidFileName = "nginx.pid";
// Where the news documents name their own host.
constexpr const char *HostMark = "__NEWS_HOST__";

bool run(const std::string &command) {
    return std::system(command.c_str()) == 0;
}

// nginx writes its pid file once every listening socket is bound. Waits for that file to be
// written and closed, or for nginx to exit; the bound only turns a hung start into a failure.
bool awaitPidFile(int watch, pid_t pid) {
    constexpr int StartLimitMs = 30000;
    const int exited = int(syscall(SYS_pidfd_open, pid, 0));
    pollfd fds[] = {{watch, POLLIN, 0}, {exited, POLLIN, 0}};
    bool written = false;
    while (!written && poll(fds, exited >= 0 ? 2 : 1, StartLimitMs) > 0 && !(fds[1].revents & POLLIN)) {
        alignas(inotify_event) char buffer[4096];
        const ssize_t n = read(watch, buffer, sizeof buffer);
        for (ssize_t at = 0; at < n;) {
            auto *event = reinterpret_cast<inotify_event *>(buffer + at);
            written |= event->len && std::string_view(event->name) == PidFileName;
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    if (exited >= 0)
        close(exited);
    return written;
}

} // namespace

uint16_t NginxPeer::freePort() {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len);
    close(fd);
    return ntohs(addr.sin_port);
}

NginxPeer::NginxPeer(Options options) {
    std::string pattern = (std::filesystem::temp_directory_path() / "qv-nginx-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return;
    dir_ = pattern;
    root_ = dir_ + "/www";
    std::filesystem::create_directories(root_ + "/slow");
    writeFile("basic/x", "welcome");
    std::filesystem::create_directories(dir_ + "/logs");
    port_ = freePort();
    if (options.https) {
        tlsPort_ = freePort();
        if (!run("openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2"
                 " -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout " +
                 dir_ + "/key.pem -out " + dir_ + "/cert.pem >/dev/null 2>&1"))
            return;
    }
    if (!run("printf 'user:%s\\n' \"$(openssl passwd -apr1 pass)\" > " + dir_ + "/htpasswd"))
        return;
    std::ofstream(dir_ + "/nginx.conf") << config(options);

    std::string conf = dir_ + "/nginx.conf", errorLog = dir_ + "/logs/error.log";
    const char *argv[] = {"nginx",      "-e", errorLog.c_str(), "-p",   dir_.c_str(), "-c",
                          conf.c_str(), "-g", "daemon off;",    nullptr};
    // Watched before nginx starts, so that the pid file cannot be written unseen.
    const int watch = inotify_init1(IN_CLOEXEC);
    inotify_add_watch(watch, dir_.c_str(), IN_CLOSE_WRITE);
    pid_t pid = fork();
    if (pid == 0) {
        // A test that dies must not leave its server behind.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        execv("/usr/sbin/nginx", const_cast<char **>(argv));
        _exit(127);
    }
    if (pid > 0 && awaitPidFile(watch, pid)) {
        pid_ = pid;
    } else if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    close(watch);
}

NginxPeer::~NginxPeer() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    if (!dir_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
}

std::string NginxPeer::url(const std::string &path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::string NginxPeer::tlsUrl(const std::string &path) const {
    return "https://127.0.0.1:" + std::to_string(tlsPort_) + path;
}

void NginxPeer::serveNewsRoot() const {
    copyNewsRoot(root_, url(""));
}

void NginxPeer::copyNewsRoot(const std::string &folder, const std::string &address) {
    namespace fs = std::filesystem;
    const fs::path source = QV_NEWS_ROOT;
    std::string host = address;
    while (!host.empty() && host.back() == '/')
        host.pop_back();
    for (const fs::directory_entry &entry : fs::recursive_directory_iterator(source)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::string contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (size_t at = contents.find(HostMark); at != std::string::npos;
             at = contents.find(HostMark, at + host.size()))
            contents.replace(at, std::strlen(HostMark), host);
        fs::path target = fs::path(folder) / fs::relative(entry.path(), source);
        fs::create_directories(target.parent_path());
        std::ofstream(target, std::ios::binary) << contents;
    }
}

void NginxPeer::writeFile(const std::string &relativePath, const std::string &contents) const {
    std::filesystem::path path = std::filesystem::path(root_) / relativePath;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

std::string NginxPeer::config(const Options &options) const {
    std::ostringstream locations;
    for (int i = 1; i <= 7; ++i)
        locations << "location = /chain/" << i << " { return 302 /chain/" << i - 1 << "; }\n";
    for (int code : {301, 302, 303, 307})
        locations << "location = /redirect/" << code << " { return " << code << " /echo/method; }\n";
    for (int code : {200, 204, 400, 401, 403, 404, 407, 416, 500, 503})
        locations << "location = /status/" << code << " { return " << code << "; }\n";
    locations << R"(
location = /chain/0 { return 200 "done"; }
location = /conn { return 200 "$connection"; }
location = /echo/headers { echo -n $echo_client_request_headers; }
location = /echo/method { echo -n $request_method; }
location = /echo/body { echo_read_request_body; echo -n $request_body; }
location /basic/ { auth_basic "Members"; auth_basic_user_file )"
              << dir_ << R"(/htpasswd; }
location = /cookie { add_header Set-Cookie "a=1; Path=/"; return 200 "cookie"; }
location /slow/ { limit_rate 1k; }
location = /close { keepalive_timeout 0; return 200 "closing"; }
)" << (options.companyPages ? PanelLocation : "")
              << options.extraLocations;

    std::ostringstream out;
    out << "load_module /usr/lib/nginx/modules/ngx_http_echo_module.so;\n"
        << "master_process off;\nworker_processes 1;\npid " << dir_ << "/" << PidFileName << ";\n"
        << "error_log " << dir_ << "/logs/error.log;\n"
        << "events { worker_connections 64; }\n"
        << "http {\n"
        << "  access_log off;\n"
        << "  client_body_temp_path " << dir_ << "/body; proxy_temp_path " << dir_ << "/proxy;\n"
        << "  fastcgi_temp_path " << dir_ << "/fcgi; uwsgi_temp_path " << dir_ << "/uwsgi;\n"
        << "  scgi_temp_path " << dir_ << "/scgi;\n"
        << "  client_body_buffer_size 16m; client_max_body_size 64m;\n"
        << "  default_type application/octet-stream;\n"
        << "  types { application/json json; text/plain txt; text/html html; }\n"
        << "  gzip on; gzip_min_length 1; gzip_types application/json text/plain;\n"
        << "  server {\n    listen 127.0.0.1:" << port_ << ";\n    root " << root_ << ";\n"
        << locations.str() << "  }\n";
    if (tlsPort_)
        out << "  server {\n    listen 127.0.0.1:" << tlsPort_ << " ssl;\n    root " << root_ << ";\n"
            << "    ssl_certificate " << dir_ << "/cert.pem;\n    ssl_certificate_key " << dir_
            << "/key.pem;\n"
            << locations.str() << "  }\n";
    out << "}\n";
    return out.str();
}

} // namespace peers
