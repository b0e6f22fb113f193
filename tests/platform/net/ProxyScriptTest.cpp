#include "net/ProxyScript.h"

#include "base/VirtualClock.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The expressions run in one FindProxyForURL("http://quotes.example.com:8080/x", "quotes.example.com")
// (one script run costs a process): the answer names proxy host "t<i>" for each true expression i.
TEST(ProxyScriptTest, StandardHelpers) {
    // 2012-05-02 (a Wednesday) 10:30:00 UTC, as seconds from 2001-01-01.
    base::VirtualClock clock(357647400);
    base::Clock::setCurrent(&clock);
    const std::pair<const char *, bool> cases[] = {
        {"isPlainHostName('www')", true},
        {"isPlainHostName(host)", false},
        {"dnsDomainIs(host, '.example.com')", true},
        {"dnsDomainIs('example.org', '.example.com')", false},
        {"localHostOrDomainIs('quotes', 'quotes.example.com')", true},
        {"localHostOrDomainIs('quotes.example.com', 'quotes.example.com')", true},
        {"localHostOrDomainIs('quotes.example.org', 'quotes.example.com')", false},
        {"dnsDomainLevels(host) == 2 && dnsDomainLevels('www') == 0", true},
        {"shExpMatch(url, '*.example.com:*/x')", true},
        {"shExpMatch('a.b', 'a?b') && !shExpMatch('axb.c', 'a.b*')", true},
        {"isInNet('10.1.2.3', '10.1.0.0', '255.255.0.0')", true},
        {"isInNet('10.2.2.3', '10.1.0.0', '255.255.0.0')", false},
        {"isInNet('localhost', '127.0.0.0', '255.0.0.0')", true},
        {"dnsResolve('localhost') == '127.0.0.1' && isResolvable('localhost')", true},
        {"isResolvable('no-such-host.invalid')", false},
        {"/^\\d+\\.\\d+\\.\\d+\\.\\d+$/.test(myIpAddress())", true},
        {"weekdayRange('MON', 'FRI', 'GMT') && weekdayRange('WED', 'GMT')", true},
        {"weekdayRange('SAT', 'SUN', 'GMT')", false},
        {"timeRange(9, 17, 'GMT') && timeRange(10, 'GMT') && timeRange(10, 0, 10, 31, 'GMT')", true},
        {"timeRange(11, 12, 'GMT')", false},
    };
    std::string script = "function FindProxyForURL(url, host) { var answer = [];\n";
    for (size_t i = 0; i < std::size(cases); ++i)
        script +=
            std::string("if (") + cases[i].first + ") answer.push('PROXY t" + std::to_string(i) + ":1');\n";
    script += "return answer.join('; '); }";
    auto answer = net::proxiesFromScript(script, *base::Url::parse("http://quotes.example.com:8080/x"));
    ASSERT_TRUE(answer);
    std::set<std::string> held;
    for (const auto &entry : *answer)
        held.insert(entry.host);
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(held.count("t" + std::to_string(i)), cases[i].second ? 1u : 0u) << cases[i].first;
    base::Clock::setCurrent(nullptr);
}

TEST(ProxyScriptTest, AnswersAndFailures) {
    const auto url = *base::Url::parse("http://quotes.example.com/");
    auto entries = net::proxiesFromScript(
        "function FindProxyForURL(u, h) { return 'PROXY p.lan:3128; SOCKS s.lan:1080 ;BOGUS x:1; DIRECT'; }",
        url);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 3u);
    EXPECT_EQ((*entries)[0].type, net::ProxyEntry::Http);
    EXPECT_EQ((*entries)[0].host, "p.lan");
    EXPECT_EQ((*entries)[0].port, 3128);
    EXPECT_EQ((*entries)[1].type, net::ProxyEntry::Socks5);
    EXPECT_EQ((*entries)[2].type, net::ProxyEntry::Direct);

    const std::pair<const char *, double> failing[] = {
        {"function FindProxyForURL(u, h) { throw new Error('no'); }", 1.0},
        {"function FindProxyForURL(u, h) {", 1.0},
        {"<html>404 Not Found</html>", 1.0},
        {"var nothing = 1;", 1.0},
        {"function FindProxyForURL(u, h) { return 42; }", 1.0},
        // A short budget: this one is stopped only by running out of time.
        {"function FindProxyForURL(u, h) { for (;;) {} }", 0.05},
    };
    for (auto [script, budget] : failing)
        EXPECT_FALSE(net::proxiesFromScript(script, url, budget)) << script;
}

} // namespace
