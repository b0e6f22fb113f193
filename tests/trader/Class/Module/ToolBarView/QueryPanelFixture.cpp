#include "QueryPanelFixture.h"

#include "DataBase/WT/TradeInterface.h"

namespace toolbar {

QueryPanelTest::QueryPanelTest() {
    book = std::make_unique<peers::TradeAccountBook>(*gateway, TradeUtil::getRequestDate(today()));
}

std::vector<int> QueryPanelTest::sentSince(size_t &seen) const {
    std::vector<int> out;
    for (; seen < gateway->received().size(); ++seen)
        if (gateway->received()[seen].funcID != 10)
            out.push_back(gateway->received()[seen].funcID);
    return out;
}

void QueryPanelTest::advance(double seconds) {
    driver.advance(seconds);
    settle();
}

std::string QueryPanelTest::daysBefore(int days) const {
    return TradeUtil::getDisplayDate(book->daysBefore(days));
}

void QueryPanelTest::setTitles(const std::vector<std::string> &titles) {
    base::Array rows;
    for (const std::string &title : titles)
        rows.add(base::Dict{{"1326", title}});
    db->IO_TradeNetData()->IO_TableTitleGroup()->LoadFromRspArray(rows);
}

} // namespace toolbar
