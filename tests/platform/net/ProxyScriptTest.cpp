#include "net/ProxyScript.h"

#include "base/VirtualClock.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

// The expressions run in one FindProxyForURL("http://quotes.example.com:8080/x", "quotes.example.com")
// (one script run costs a process) at 2012-05-02 (a Wednesday) 10:30:00 UTC: the answer names proxy
// host "t<i>" for each true expression i.
void expectTruths(const std::vector<std::pair<const char *, bool>> &cases) {
    base::VirtualClock clock(357647400);
    base::Clock::setCurrent(&clock);
    std::string script = "function FindProxyForURL(url, host) { var answer = [];\n";
    for (size_t i = 0; i < cases.size(); ++i)
        script +=
            std::string("if (") + cases[i].first + ") answer.push('PROXY t" + std::to_string(i) + ":1');\n";
    script += "return answer.join('; '); }";
    auto answer = net::proxiesFromScript(script, *base::Url::parse("http://quotes.example.com:8080/x"));
    base::Clock::setCurrent(nullptr);
    ASSERT_TRUE(answer);
    std::set<std::string> held;
    for (const auto &entry : *answer)
        held.insert(entry.host);
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(held.count("t" + std::to_string(i)), cases[i].second ? 1u : 0u) << cases[i].first;
}

TEST(ProxyScriptTest, StandardHelpers) {
    expectTruths({
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
    });
}

// Today is 2 May 2012 (GMT).
TEST(ProxyScriptTest, DateRange) {
    expectTruths({
        {"dateRange(2, 'GMT')", true},
        {"dateRange(3, 'GMT')", false},
        {"dateRange('MAY', 'GMT')", true},
        {"dateRange('JUN', 'GMT')", false},
        {"dateRange(2012, 'GMT')", true},
        {"dateRange(2013, 'GMT')", false},
        {"dateRange(1, 15, 'GMT')", true},
        {"dateRange(3, 31, 'GMT')", false},
        {"dateRange(25, 2, 'GMT')", true},
        {"dateRange('APR', 'JUN', 'GMT')", true},
        {"dateRange('NOV', 'MAY', 'GMT')", true},
        {"dateRange('JUN', 'APR', 'GMT')", false},
        {"dateRange(2010, 2012, 'GMT')", true},
        {"dateRange(2013, 2010, 'GMT')", false},
        {"dateRange(1, 'MAY', 2, 'MAY', 'GMT')", true},
        {"dateRange(3, 'MAY', 1, 'JUN', 'GMT')", false},
        {"dateRange(20, 'DEC', 5, 'MAY', 'GMT')", true},
        {"dateRange('APR', 2012, 'MAY', 2012, 'GMT')", true},
        {"dateRange('DEC', 2011, 'APR', 2012, 'GMT')", false},
        {"dateRange(2, 'MAY', 2012, 2, 'MAY', 2012, 'GMT')", true},
        {"dateRange(1, 'JAN', 2013, 1, 'JAN', 2014, 'GMT')", false},
        {"dateRange(30, 'APR', 2012, 1, 'MAY', 2012, 'GMT')", false},
        {"dateRange()", false},
        {"dateRange(2, 'MAY', 'GMT')", false},
        {"dateRange('May', 'GMT')", false},
        {"dateRange(0, 'GMT') || dateRange(32, 'GMT') || dateRange('2', 'GMT')", false},
        {"dateRange('MAY', 2012, 2, 'JUN', 'GMT')", false},
    });
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
