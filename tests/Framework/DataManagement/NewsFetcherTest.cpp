#include "NewsBusFixture.h"

#include "Common/FileFunc.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsColumnItemInfo.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsContentInfo.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsListInfo.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsSummaryInfo.h"
#include "base/PropertyList.h"
#include "peers/FaultPeer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

namespace newsbus {
namespace {

using Fetcher = QVNNewsDataManagement;
using Interface = QVNNewsDataInterface;
using peers::FaultPeer;

template <class T> std::vector<base::Ref<T>> recordsOf(const base::Dict &rsp) {
    std::vector<base::Ref<T>> out;
    const base::Value array = rsp.get(Fetcher::RspArray);
    for (const base::Value &item : array.array() ? *array.array() : base::Array())
        out.push_back(item.objectAs<T>());
    return out;
}

using NewsFetcherTest = NewsBusTest;

TEST_F(NewsFetcherTest, ColumnsAndHeadlinesReadEveryObjectAsTextInOrder) {
    base::Dict columns = replyTo(Interface::MakeRequestNewsColumnArray());
    EXPECT_TRUE(columns.get(Fetcher::SuccessRsp).boolValue());
    auto items = recordsOf<NewsColumnItemInfo>(columns);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0]->cnName, "要闻");
    EXPECT_EQ(items[0]->lisrUrl, url("/wap/news/list/yaowen/index.json"));
    EXPECT_EQ(items[4]->lisrUrl, "zhuanti.json");

    // Three objects and the number 7: three headlines; a number title reads as its text, a null
    // summary as "".
    auto headlines = recordsOf<NewsSummaryInfo>(replyTo(Interface::MakeRequestNewsTopLineArray()));
    ASSERT_EQ(headlines.size(), 3u);
    EXPECT_EQ(headlines[0]->title, "沪指高开");
    EXPECT_EQ(headlines[0]->date, "2012-05-08");
    EXPECT_EQ(headlines[0]->time, "2012-05-08 09:31");
    EXPECT_EQ(headlines[1]->title, "123");
    EXPECT_EQ(headlines[1]->summary, "");
    EXPECT_EQ(headlines[2]->url, url("/wap/news/article/shichang_2.json"));
}

TEST_F(NewsFetcherTest, ListPagesKeepTheirLinksAndArticlesTheirFields) {
    base::Dict page = replyTo(Interface::MakeRequestNewsList(url("/wap/news/list/yaowen/index_2.json")));
    auto list = page.get(Fetcher::RspNewsListInfo).objectAs<NewsListInfo>();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->first, "index.json");
    EXPECT_EQ(list->next, "index_3.json");
    EXPECT_EQ(list->last, "index_3.json");
    ASSERT_EQ(list->items().size(), 4u);
    EXPECT_EQ(list->items()[0]->title, "沪指收复年线，成交额小幅放大");
    EXPECT_EQ(list->items()[0]->url, url("/wap/news/article/yaowen_4.json"));

    auto headerOnly = replyTo(Interface::MakeRequestNewsList(url("/wap/news/list/edge/header_only.json")))
                          .get(Fetcher::RspNewsListInfo)
                          .objectAs<NewsListInfo>();
    ASSERT_TRUE(headerOnly);
    EXPECT_EQ(headerOnly->next, "header_only.json");
    EXPECT_TRUE(headerOnly->items().empty());

    auto neither = replyTo(Interface::MakeRequestNewsList(url("/wap/news/list/edge/neither.json")))
                       .get(Fetcher::RspNewsListInfo)
                       .objectAs<NewsListInfo>();
    ASSERT_TRUE(neither);
    EXPECT_FALSE(neither->first.has_value()) << "a page without a header has no links at all";
    EXPECT_FALSE(neither->next.has_value());

    auto article = replyTo(Interface::MakeRequestNewsContent(url("/wap/news/article/escape.json")))
                       .get(Fetcher::RspNewsContentInfo)
                       .objectAs<NewsContentInfo>();
    ASSERT_TRUE(article);
    EXPECT_EQ(article->title, "<b>a</b> & %@");
    EXPECT_EQ(article->source, "本地<财经>");
    EXPECT_EQ(article->otime, "2012-05-08 10:00");
    EXPECT_EQ(article->content, "<p>正文保留<b>标记</b>。</p>");
}

TEST_F(NewsFetcherTest, StockDocumentsGiveTheDaysMinesAndFourCategories) {
    EXPECT_EQ(Fetcher::urlForRequest(Interface::MakeRequestStockNewsList("SH600000")),
              url("/wap/data/ipad/stock/SH/00/600000/index.json"));

    // Of 2012-05-08 only: the items of 05-07 and the short time text are dropped.
    auto mines =
        recordsOf<NewsSummaryInfo>(replyTo(Interface::MakeRequestTodayInfoBomb("SH600000", 20120508)));
    ASSERT_EQ(mines.size(), 2u);
    EXPECT_EQ(mines[0]->time, "2012-05-08 09:31");
    EXPECT_EQ(mines[1]->title, "浦发银行：分红实施公告");
    EXPECT_FALSE(mines[0]->date.has_value()) << "the mine reader never sets the date";

    base::Array categories =
        *replyTo(Interface::MakeRequestStockNewsList("SH600000")).get(Fetcher::RspStockNewsListInfo).array();
    ASSERT_EQ(categories.size(), 4u);
    EXPECT_EQ(categories[0]["Name"].stringValue(), "个股新闻");
    EXPECT_EQ(categories[0]["Items"].array()->size(), 2u) << "the text among the items is skipped";
    EXPECT_EQ(categories[1]["Name"].stringValue(), "公司公告");
    EXPECT_FALSE(categories[1].dict()->has("Items")) << "an empty category has a name and no items";
    EXPECT_EQ(categories[3]["Items"][0].objectAs<NewsListItemInfo>()->title, "浦发银行研究报告：息差企稳");

    base::Dict refused = replyTo(Interface::MakeRequestStockNewsList("SZ000001"));
    EXPECT_TRUE(refused.get(Fetcher::SuccessRsp).boolValue());
    EXPECT_FALSE(refused.has(Fetcher::RspStockNewsListInfo)) << "\"error\" \"1\" gives no result";
}

TEST_F(NewsFetcherTest, FailuresAndUnreadableDocuments) {
    FaultPeer reset({FaultPeer::reset()});
    struct Case {
        const char *name;
        base::Dict request;
        bool success;
        std::string failMsg;
    };
    const std::string badUrl = Fetcher::BadUrlMessage;
    const Case cases[] = {
        {"missing path", Interface::MakeRequestNewsList(url("/wap/news/list/none.json")), false, "HTTP 404"},
        {"server error status", Interface::MakeRequestNewsList(url("/status/500")), false, "HTTP 500"},
        {"one-digit code", Interface::MakeRequestStockNewsList("SH6"), false, badUrl},
        {"prefix only", Interface::MakeRequestTodayInfoBomb("SH", 20120508), false, badUrl},
        {"other scheme", Interface::MakeRequestNewsContent("file:///etc/passwd"), false, badUrl},
        {"no address", Interface::MakeRequestNewsList("index.json"), false, badUrl},
        {"connection reset", Interface::MakeRequestNewsList(reset.url("/list.json")), false, ""},
        {"not JSON", Interface::MakeRequestNewsList(url("/wap/news/bad/notjson.json")), true, ""},
        {"an object", Interface::MakeRequestNewsContent(url("/wap/news/bad/object.json")), true, ""},
        {"an empty array", Interface::MakeRequestNewsContent(url("/wap/news/bad/empty.json")), true, ""},
        {"error 1", Interface::MakeRequestNewsColumnArray(), true, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string(c.name) == "error 1")
            nginx->writeFile("wap/news/news/gaoduan/columnIndex.json",
                             R"([{"header":{"error":1},"data":[]}])");
        base::Dict rsp = replyTo(c.request);
        ASSERT_TRUE(rsp.has(Fetcher::SuccessRsp)) << "every request is answered once";
        EXPECT_EQ(rsp.get(Fetcher::SuccessRsp).boolValue(), c.success);
        EXPECT_FALSE(rsp.has(Fetcher::RspArray) || rsp.has(Fetcher::RspNewsListInfo) ||
                     rsp.has(Fetcher::RspNewsContentInfo) || rsp.has(Fetcher::RspStockNewsListInfo));
        if (c.success)
            EXPECT_FALSE(rsp.has(Fetcher::FailMsg));
        else if (!c.failMsg.empty())
            EXPECT_EQ(rsp.get(Fetcher::FailMsg).stringValue(), c.failMsg);
        else
            EXPECT_FALSE(rsp.get(Fetcher::FailMsg).stringValue().empty());
    }
}

TEST_F(NewsFetcherTest, UnknownTypesStartNothingAndGetNoReply) {
    auto asker = requester();
    for (int type : {1500, 1800, 0})
        asker->post(base::Dict{{Interface::ReqType, type}});
    EXPECT_EQ(fetcher().pendingRequestCount(), 0u);
    runUntilIdle();
    EXPECT_TRUE(asker->replies.empty());
}

TEST_F(NewsFetcherTest, RepliesArriveInCompletionOrderEachToItsOwner) {
    FaultPeer held(
        {FaultPeer::hold(),
         FaultPeer::send("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 36\r\n\r\n"
                         R"([{"header":{"next":"b","last":"b"}}])")});
    auto slow = requester(), quick = requester();
    slow->post(Interface::MakeRequestNewsList(held.url("/list.json")));
    EXPECT_EQ(fetcher().lastSeqID(), 1) << "the first request of the fetcher is tagged 1";
    quick->post(Interface::MakeRequestNewsColumnArray());
    ASSERT_TRUE(runUntilIdle([&] { return !quick->replies.empty(); }));
    EXPECT_TRUE(slow->replies.empty());
    EXPECT_EQ(fetcher().pendingRequestCount(), 1u);

    held.release();
    ASSERT_TRUE(runUntilIdle([&] { return !slow->replies.empty(); }));
    auto list = slow->replies[0].get(DLMsgData::RspData)[Fetcher::RspNewsListInfo].objectAs<NewsListInfo>();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->next, "b");
    EXPECT_EQ(quick->replies.size(), 1u);
    EXPECT_EQ(recordsOf<NewsColumnItemInfo>(*quick->replies[0].get(DLMsgData::RspData).dict()).size(), 5u);
}

TEST(NewsFetcherReaders, DateOfATimeText) {
    const std::pair<std::optional<std::string>, int64_t> cases[] = {{std::nullopt, -1},
                                                                    {"2012-05-0", -1},
                                                                    {"2012-05-08", 20120508},
                                                                    {"2012-05-08 09:31", 20120508},
                                                                    {"2012/05/08 09:31", -1}};
    for (const auto &[text, date] : cases)
        EXPECT_EQ(Fetcher::getNumDateFromOTime(text), date) << text.value_or("(absent)");
}

} // namespace
} // namespace newsbus

namespace newsbus {
namespace {

// The board reader on its own, in the program's throw-away home.
class BoardMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char *file : {Fetcher::StockModelMenuFile, Fetcher::DDEModelMenuFile})
            std::remove(path(file).c_str());
    }
    static std::string path(const char *file) { return FileFunc::getFilePath(file); }
    static constexpr const char *Board =
        R"([{"data":[{"zdph":[{"name":"银行","type":201}],"ddejc":[{"name":"大单","type":12}]}]}])";
};

TEST_F(BoardMenuTest, AnOldFileIsReplacedWholeAndABundleWithoutTheListLeavesIt) {
    std::ofstream(path(Fetcher::DDEModelMenuFile)) << "not a property list";
    Fetcher::parseMarketBoard(std::string(Board));
    std::optional<base::Value> dde = base::PropertyList::read(path(Fetcher::DDEModelMenuFile));
    ASSERT_TRUE(dde && dde->array());
    EXPECT_EQ(dde->array()->size(), 2u);
    EXPECT_TRUE(base::PropertyList::read(path(Fetcher::StockModelMenuFile)));

    // Without the bundle's stock menu the stock menu file stays as it was.
    const std::string shipped = qvtest::ScratchBundle::directory() + "/StockModelMenu.plist";
    const std::string target = std::filesystem::read_symlink(shipped);
    std::filesystem::remove(shipped);
    std::ofstream(path(Fetcher::StockModelMenuFile)) << "kept";
    Fetcher::parseMarketBoard(std::string(Board));
    std::filesystem::create_symlink(target, shipped);
    std::ifstream kept(path(Fetcher::StockModelMenuFile));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kept");
}

} // namespace
} // namespace newsbus
