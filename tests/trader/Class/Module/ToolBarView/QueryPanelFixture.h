#pragma once

#include "ToolBarFixture.h"

#include "Class/Module/CommonControls/TradeDateRange/TradeDateRange.h"
#include "peers/TradeAccountBook.h"

#include <memory>
#include <string>
#include <vector>

namespace toolbar {

// The logged-in bar over the loopback gateway's account book, whose today is the virtual clock's.
class QueryPanelTest : public ToolBarTest {
protected:
    QueryPanelTest();

    // Logs in when needed, shows the bar, presses the button and lets the panel settle.
    template <class T> base::Ref<T> open(int tag) {
        if (!db->IO_TradeNetData()->isLoginSuccess())
            logIn();
        if (!bar)
            showBar();
        press(tag);
        settleSlides();
        settle();
        return panel<T>();
    }
    // Function ids the gateway received since `seen`, heartbeats left out.
    std::vector<int> sentSince(size_t &seen) const;
    size_t sentCount() const { return gateway->received().size(); }
    int sent(int funcID) const { return int(gateway->received(funcID).size()); }
    // Runs the run loop and the peers while the virtual clock moves on by `seconds`.
    void advance(double seconds);
    // Today as the date buttons show it, and `days` before.
    std::string today() const { return TradeDateRange::today(); }
    std::string daysBefore(int days) const;
    // The table's cell of a row in view, laid out.
    template <class T> base::Ref<T> cell(ui::TableView &table, int row) {
        table.layoutIfNeeded();
        auto found = std::dynamic_pointer_cast<T>(table.cellForRow({0, row}));
        if (found)
            found->layoutIfNeeded();
        return found;
    }
    // Title lists of the login reply, as "funcID,count,id=caption,…" texts.
    void setTitles(const std::vector<std::string> &titles);

    std::unique_ptr<peers::TradeAccountBook> book;
};

} // namespace toolbar
