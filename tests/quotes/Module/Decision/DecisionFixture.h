#pragma once

#include "CoordinatorFixture.h"

#include "Module/Decision/DecisionViewController.h"
#include "Module/FrontPage/FrontPageViewController.h"

#include "ui/NavigationController.h"
#include "ui/TabBarController.h"

#include <optional>
#include <string>
#include <vector>

namespace decision {

// A class page request as the server received it.
struct ListRequest {
    int classID = 0, flag = 0, sortField = 0, order = 0, start = 0, count = 0;
    bool operator==(const ListRequest &) const = default;
};

// What a list tells its page.
struct Told {
    std::string code;
    int index = -1;
    std::vector<std::string> rows;
};
class RecordingOwner : public DDEModelViewDelegate,
                       public SectionAnalysViewDelegate,
                       public SVFundViewDelegate {
public:
    base::Opt<void> ReturnDDEStockCodeMarket(const std::string &code, const std::string &, int index,
                                             const base::Array &rows) override;
    base::Opt<void> ReturnSectionStockCodeMarket(const std::string &code, const std::string &, int index,
                                                 const base::Array &rows) override;
    base::Opt<void> ReturnSVFundStockCodeMarket(const std::string &code, const std::string &, int index,
                                                const base::Array &rows) override;
    base::Opt<void> EnterDDEBoardStocks(const base::Ref<StockQuoteInf> &board) override;
    base::Opt<void> EnterSectionBoardStocks(const base::Ref<StockQuoteInf> &board) override;
    base::Opt<void> EnterSVFundBoardStocks(const base::Ref<StockQuoteInf> &board) override;
    base::Opt<void> BackToDDEBoardAction() override;
    base::Opt<void> BackToSectionBoardAction() override;
    base::Opt<void> BackToSVFundBoardAction() override;
    base::Opt<void> resetTimerCenterOnScroll(int tabIndex) override;

    std::vector<Told> opened;
    // "enter <code>", "back", "scroll <index>" in order.
    std::vector<std::string> events;
};

// A finished login on a loopback quote server of 99 stocks an exchange (the last untraded) and the
// boards, as the process-wide coordinator, with fresh user files, no board-menu copies in the
// documents and fresh header marks. `show` puts the decision page under a navigation controller in
// a tab bar in the offscreen window; the home page is made beside it, so that both pages' lists live
// at once as in the application.
class DecisionTest : public coordinator::CoordinatorTest {
protected:
    DecisionTest();
    ~DecisionTest() override;

    void show();
    void chooseTab(int index);
    // The home page, loaded but not on screen, with one of its list tabs chosen.
    FrontPageViewController &homeWithTab(int tag);

    // Class page requests (not code lists) and code-list requests received since forgetRequests.
    std::vector<ListRequest> listRequests();
    std::vector<std::vector<std::string>> codeRequests();
    void forgetRequests();

    // A list's row as its table would show it; the texts of its columns (name and code as
    // "name code"), and a column's colour as 1 red, -1 green, 0 white or 2 any other.
    static base::Ref<GeneralCell> cellOf(MarketTableBaseView &list, int row);
    static std::vector<std::string> rowTexts(MarketTableBaseView &list, int row);
    static int colourOf(MarketTableBaseView &list, int row, int column);
    // Runs until the list holds at least `rows` rows.
    bool waitForRows(MarketTableBaseView &list, int rows);

    static gfx::Point centre(const ui::View &view);
    void tapView(const ui::View &view) { app.tap(centre(view)); }
    void tapRow(ui::TableView &table, int row);

    base::Ref<DecisionViewController> screen = base::make<DecisionViewController>();
    base::Ref<ui::NavigationController> nav;
    base::Ref<ui::TabBarController> tabs;
    base::Ref<FrontPageViewController> home;
    base::Ref<RecordingOwner> owner = base::make<RecordingOwner>();

private:
    size_t listSeen_ = 0;
};

} // namespace decision
