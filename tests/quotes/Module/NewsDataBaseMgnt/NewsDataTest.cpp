#include "NewsBusFixture.h"

#include "Module/NewsDataBaseMgnt/NewsData/NewsData.h"

#include <gtest/gtest.h>

namespace newsbus {
namespace {

// An owner that hears every callback: its name, and the result or failure text.
class Owner : public NewsDataDelegate {
public:
    std::vector<std::string> calls;
    size_t arraySize = 0;
    base::Ref<NewsListInfo> list;
    base::Ref<NewsContentInfo> article;
    std::string failMsg;
    bool articleWasNone = false;

    base::Opt<void> updateNewsTopLineArray(const Headlines &a) override {
        return array("topLines", a.size());
    }
    base::Opt<void> updateNewsTopLineArrayError(const std::string &m) override {
        return error("topLinesError", m);
    }
    base::Opt<void> updateNewsColumnArray(const Columns &a) override { return array("columns", a.size()); }
    base::Opt<void> updateNewsColumnArrayError(const std::string &m) override {
        return error("columnsError", m);
    }
    base::Opt<void> updateNewsList(const base::Ref<NewsListInfo> &l) override {
        list = l;
        return note("list");
    }
    base::Opt<void> updateNewsListError(const std::string &m) override { return error("listError", m); }
    base::Opt<void> updateNewsContent(const base::Ref<NewsContentInfo> &a) override {
        article = a;
        articleWasNone = !a;
        return note("content");
    }
    base::Opt<void> updateNewsContentError(const std::string &m) override { return error("contentError", m); }
    base::Opt<void> updateTodayInfoBombArray(const Headlines &a) override { return array("mines", a.size()); }
    base::Opt<void> updateTodayInfoBombArrayError(const std::string &m) override {
        return error("minesError", m);
    }
    base::Opt<void> updateStockNewsList(const base::Array &a) override {
        return array("stockNews", a.size());
    }
    base::Opt<void> updateStockNewsListError(const std::string &m) override {
        return error("stockNewsError", m);
    }

private:
    base::Opt<void> note(std::string what) {
        calls.push_back(std::move(what));
        return {};
    }
    base::Opt<void> array(std::string what, size_t size) {
        arraySize = size;
        return note(std::move(what));
    }
    base::Opt<void> error(std::string what, const std::string &message) {
        failMsg = message;
        return note(std::move(what));
    }
};

class NewsDataTest : public NewsBusTest {
protected:
    base::Ref<NewsData> facade(const std::shared_ptr<Owner> &owner) {
        auto news = NewsData::create();
        news->setDelegate(owner);
        return news;
    }
    std::shared_ptr<Owner> owner = std::make_shared<Owner>();
    base::Ref<NewsData> news = facade(owner);
};

TEST_F(NewsDataTest, EachRequestReachesItsOwnCallbacks) {
    struct Case {
        const char *success, *failure;
        std::function<void(NewsData &)> ask;
        size_t size;
    };
    const Case cases[] = {
        {"topLines", "topLinesError", [](NewsData &n) { n.reqNewsTopLineArray(); }, 3},
        {"columns", "columnsError", [](NewsData &n) { n.reqNewsColumnArray(); }, 5},
        {"mines", "minesError", [](NewsData &n) { n.reqTodayInfoBomb("SH600000", 20120508); }, 2},
        {"stockNews", "stockNewsError", [](NewsData &n) { n.reqStockNewsList("SH600000"); }, 4},
        {"list", "listError", [this](NewsData &n) { n.reqNewsList(url("/wap/news/list/gongsi/index.json")); },
         0},
        {"content", "contentError",
         [this](NewsData &n) { n.reqNewsContent(url("/wap/news/article/gongsi_0.json")); }, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.success);
        owner->calls.clear();
        c.ask(*news);
        EXPECT_TRUE(owner->calls.empty()) << "replies come on a later pass";
        runUntilIdle();
        ASSERT_EQ(owner->calls, std::vector<std::string>{c.success});
        if (c.size)
            EXPECT_EQ(owner->arraySize, c.size);
    }
    EXPECT_EQ(owner->list->items().size(), 4u);
    EXPECT_EQ(owner->article->title, "浦发银行发布季度业绩快报");

    // With the news host on a scheme the fetcher refuses, every request fails.
    qvtest::ScratchBundle::writeServerConfig({{"NewsServer", "ftp://127.0.0.1"}});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.failure);
        owner->calls.clear();
        if (std::string(c.success) == "list")
            news->reqNewsList("ftp://127.0.0.1/index.json");
        else if (std::string(c.success) == "content")
            news->reqNewsContent(url("/wap/news/article/none.json"));
        else
            c.ask(*news);
        runUntilIdle();
        ASSERT_EQ(owner->calls, std::vector<std::string>{c.failure});
        EXPECT_FALSE(owner->failMsg.empty());
    }
}

TEST_F(NewsDataTest, TwoFacadesAskingAtOnceEachHearOnce) {
    auto other = std::make_shared<Owner>();
    auto second = facade(other);
    EXPECT_NE(news->vcTag(), second->vcTag());
    news->reqNewsColumnArray();
    second->reqNewsColumnArray();
    runUntilIdle();
    EXPECT_EQ(owner->calls, std::vector<std::string>{"columns"});
    EXPECT_EQ(other->calls, std::vector<std::string>{"columns"});
}

TEST_F(NewsDataTest, BoardListsAndUnreadableArticlesAndReleasedFacades) {
    news->reqMarketBoard();
    runUntilIdle();
    EXPECT_TRUE(owner->calls.empty()) << "the board lists never call back";

    news->reqNewsContent(url("/wap/news/bad/notjson.json"));
    runUntilIdle();
    ASSERT_EQ(owner->calls, std::vector<std::string>{"content"});
    EXPECT_TRUE(owner->articleWasNone);

    auto gone = std::make_shared<Owner>();
    auto released = facade(gone);
    const std::string tag = released->vcTag();
    released->reqNewsList(url("/wap/news/list/gongsi/index.json"));
    released.reset();
    runUntilIdle();
    EXPECT_TRUE(gone->calls.empty());
    base::NotificationCenter::shared().post(tag, nullptr, base::Dict{{"FuncID", "400"}});
    EXPECT_TRUE(gone->calls.empty()) << "no observer is left under the released facade's name";
}

} // namespace
} // namespace newsbus
