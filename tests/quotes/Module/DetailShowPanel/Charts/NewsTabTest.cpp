#include "DetailScreenFixture.h"

#include "DataBase/NetData/StockDetailStatus.h"
#include "DataManagement/DLDataManagement/DLDataManagement.h"
#include "DataManagement/DLDataManagement/DataInterface/QVNNewsDataInterface.h"
#include "DataManagement/DLMsgCenter/DLMsgData.h"

namespace detailscreen {
namespace {

// The news tab's view, and the security news it asks (the requests of the news bus, which no
// fetcher serves here).
class NewsTabTest : public DetailScreenTest {
protected:
    NewsTabTest() {
        base::NotificationCenter::shared().addObserver(
            newsObserver, DLDataManagement::MsgCenterNotify, [this](const base::Notification &n) {
                const base::Value req = n.userInfo.get(DLMsgData::ReqData);
                if (req[QVNNewsDataInterface::ReqType].intValue() == QVNNewsDataInterface::StockNewsListType)
                    newsAsked.push_back(req[QVNNewsDataInterface::StockCode].stringValue());
            });
    }

    base::Ref<base::Object> newsObserver = base::make<base::Object>();
    std::vector<std::string> newsAsked;
};

TEST_F(NewsTabTest, TheNewsViewFollowsTheSecurityAndShowsOnlyOnItsTab) {
    readyWithoutAccount();
    DataBase::sharedDataBase()->IO_StockDetailStatus()->setIsShowKLine(false);
    auto screen = open("SH600000");
    StockNewsView *news = screen->stockNewsView();
    ASSERT_NE(news, nullptr);
    EXPECT_EQ(news->frame(), (gfx::Rect{0, 121, 768, 515}));
    EXPECT_TRUE(news->isHidden());
    EXPECT_EQ(newsAsked, std::vector<std::string>{"SH600000"}) << "asked when the view is made";

    screen->StockDetailBarSelectedIndex(3, 0, *screen->stockDetailSwitchBar());
    EXPECT_FALSE(news->isHidden());
    EXPECT_EQ(screen->view().subviews().back().get(), news) << "in front of the charts";
    EXPECT_TRUE(screen->trendLineView()->isHidden());
    EXPECT_TRUE(screen->klineView()->isHidden());
    EXPECT_EQ(newsAsked.size(), 2u) << "asked again when its tab is chosen";

    screen->SetStockCodeMarket("SZ000002");
    EXPECT_EQ(newsAsked.back(), "SZ000002");
    EXPECT_EQ(news->stockCode(), "SZ000002");
    EXPECT_FALSE(news->isHidden()) << "a new security keeps the tab";

    for (int tab : {2, 0, 3, 1}) {
        screen->StockDetailBarSelectedIndex(tab, 0, *screen->stockDetailSwitchBar());
        EXPECT_EQ(news->isHidden(), tab != 3) << tab;
    }
    settle();
}

} // namespace
} // namespace detailscreen
