#pragma once

#include "CoordinatorFixture.h"

#include "DataBase/ComAPI.h"
#include "DataBase/NetData/KLineItem.h"
#include "Module/StockDataBaseMgnt/IndexNetData.h"
#include "Module/StockDataBaseMgnt/StockDetailData.h"

#include <algorithm>
#include <map>

namespace detailcentre {

// The detail screen as the data centre sees it.
class Screen : public StockDetailDataDelegate {
public:
    base::Opt<bool> isTrendLineViewVisible() override { return trend; }
    base::Opt<bool> isKLineViewVisible() override { return kline; }
    base::Opt<int> getKType() override { return ktype; }
    base::Opt<bool> isKLineExrightMode() override { return exright; }
    base::Opt<int> getCurMinLineLevel2TechType() override { return level2Type; }
    base::Opt<int> getCurrentBoardID() override { return boardID; }

    bool trend = false;
    bool kline = false;
    int ktype = 7;
    bool exright = false;
    int level2Type = -1;
    int boardID = 0;
};

// What one centre's observer saw: reply types, and the codes of replies that name one.
struct Replies {
    std::vector<int> types;
    std::vector<std::string> codes;
};

// A finished login on the loopback quote server, the test's coordinator as the process-wide one,
// and data centres opened as the detail screen opens them.
class DetailCentreTest : public coordinator::CoordinatorTest {
protected:
    DetailCentreTest() {
        base::FileManager::remove(documentsFile("data"));
        DataBase::setSharedDataBase(db);
    }
    ~DetailCentreTest() override {
        for (const auto &[name, replies] : seen)
            base::NotificationCenter::shared().removeObserver(observer.get(), name);
        centres.clear();
        DataBase::setSharedDataBase(nullptr);
    }

    // A centre showing `code`: the screen asks, and the base info has arrived.
    base::Ref<StockDetailData> open(const std::string &code, bool level2 = false) {
        auto centre = base::make<StockDetailData>();
        centre->setDelegate(screen);
        centres.push_back(centre);
        watch(centre);
        centre->StartRequest(code);
        centre->setCanShowLevel2(level2);
        quotes.clearReceived();
        centre->reqData(true);
        settle();
        baseInfoPhase = types();
        return centre;
    }
    void watch(const base::Ref<StockDetailData> &centre) {
        base::Weak<StockDetailData> weak = centre;
        Replies &replies = seen[centre->observerName()];
        base::NotificationCenter::shared().addObserver(
            observer, centre->observerName(), [weak, &replies](const base::Notification &n) {
                int type = int(n.userInfo.get(DataBase::NetDataNotify).intValue());
                replies.types.push_back(type);
                auto params = n.userInfo.get("ReqParams").objectAs<ReqParams>();
                if (params && params->has("code"))
                    replies.codes.push_back(params->get("code").stringValue());
                // The screen tells the centre once the base info is in.
                if (auto centre = weak.lock(); centre && (type == 2939 || type == 2310))
                    centre->stockDetailLib()->setIO_isGetBasicInf(true);
            });
    }
    // The message types the server received since it was last cleared, in order.
    std::vector<int> types() const {
        std::vector<int> out;
        for (const peers::ReceivedFrame &frame : quotes.received())
            out.push_back(frame.type);
        return out;
    }
    static bool has(const std::vector<int> &list, int type) {
        return std::find(list.begin(), list.end(), type) != list.end();
    }
    // The codes of the candle requests received, in order.
    std::vector<std::string> candleCodes() const {
        std::vector<std::string> codes;
        for (const peers::ReceivedFrame &frame : quotes.received(2944)) {
            uint32_t pos = 0;
            codes.push_back(ComAPI::ReadString(frame.bytes(), pos));
        }
        return codes;
    }

    std::shared_ptr<Screen> screen = std::make_shared<Screen>();
    std::vector<base::Ref<StockDetailData>> centres;
    std::map<std::string, Replies> seen;
    std::vector<int> baseInfoPhase;
};

} // namespace detailcentre
