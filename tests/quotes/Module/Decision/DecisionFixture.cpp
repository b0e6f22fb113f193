#include "DecisionFixture.h"

#include "DataBase/ComAPI.h"
#include "Module/CommonControls/GeneralCell/NameFieldView.h"
#include "ui/Label.h"
#include "ui/Popover.h"

namespace decision {

namespace {

constexpr int CodeListClass = 106;
// Records stamped 0 are stale only once the clock is past its first seconds.
constexpr double StaleClockStart = 30;

// The standard market with 99 made-up stocks on each exchange, the last of them not traded today.
peers::MarketFixture decisionMarket() {
    peers::MarketFixture standard = peers::MarketFixture::standard(99);
    std::vector<peers::Security> securities = standard.securities();
    securities.back().suspended = true;
    return peers::MarketFixture(std::move(securities), standard.quotesDate());
}

std::vector<std::string> codesOf(const base::Array &rows) {
    std::vector<std::string> codes;
    for (const base::Value &row : rows)
        if (auto record = row.objectAs<StockQuoteInf>())
            codes.push_back(record->code);
        else
            codes.push_back(row["MarketCode"].stringValue());
    return codes;
}

} // namespace

// --- What the lists tell

base::Opt<void> RecordingOwner::ReturnDDEStockCodeMarket(const std::string &code, const std::string &,
                                                         int index, const base::Array &rows) {
    opened.push_back({code, index, codesOf(rows)});
    return {};
}

base::Opt<void> RecordingOwner::ReturnSectionStockCodeMarket(const std::string &code, const std::string &,
                                                             int index, const base::Array &rows) {
    opened.push_back({code, index, codesOf(rows)});
    return {};
}

base::Opt<void> RecordingOwner::ReturnSVFundStockCodeMarket(const std::string &code, const std::string &,
                                                            int index, const base::Array &rows) {
    opened.push_back({code, index, codesOf(rows)});
    return {};
}

base::Opt<void> RecordingOwner::EnterDDEBoardStocks(const base::Ref<StockQuoteInf> &board) {
    events.push_back("enter " + board->code);
    return {};
}

base::Opt<void> RecordingOwner::EnterSectionBoardStocks(const base::Ref<StockQuoteInf> &board) {
    events.push_back("enter " + board->code);
    return {};
}

base::Opt<void> RecordingOwner::EnterSVFundBoardStocks(const base::Ref<StockQuoteInf> &board) {
    events.push_back("enter " + board->code);
    return {};
}

base::Opt<void> RecordingOwner::BackToDDEBoardAction() {
    events.push_back("back");
    return {};
}

base::Opt<void> RecordingOwner::BackToSectionBoardAction() {
    events.push_back("back");
    return {};
}

base::Opt<void> RecordingOwner::BackToSVFundBoardAction() {
    events.push_back("back");
    return {};
}

base::Opt<void> RecordingOwner::resetTimerCenterOnScroll(int tabIndex) {
    events.push_back("scroll " + std::to_string(tabIndex));
    return {};
}

// --- The fixture

DecisionTest::DecisionTest() : coordinator::CoordinatorTest(decisionMarket()) {
    for (const char *file : {"DDEModelMenu.plist", "SectionModelMenu.plist", "MyStockList.plist",
                             "MyStockModuleList.plist", "TipHelpSettings.plist", "UserConfig.plist"})
        base::FileManager::remove(documentsFile(file));
    DDEDecisionView::headerMarked = SectionAnalysView::headerMarked = false;
    DataManager::resetSharedDataManager();
    DataManager::sharedDataManager().initialize();
    DataManager::sharedDataManager().msgboxParentHandle = app.window().self<ui::View>();
    // The home page's first-start help is not in the way.
    DataManager::sharedDataManager().SetHelpShowState(false, FrontPageViewController::HelpTipID);
    DataBase::setSharedDataBase(db);
    readyWithoutAccount();
    advance(StaleClockStart);
}

DecisionTest::~DecisionTest() {
    for (auto &popover : ui::Popover::visiblePopovers())
        popover->dismiss(false);
    app.window().setRootViewController(nullptr);
    tabs.reset();
    nav.reset();
    screen.reset();
    home.reset();
    settle();
    DataBase::setSharedDataBase(nullptr);
    DataManager::resetSharedDataManager();
}

void DecisionTest::show() {
    nav = base::make<ui::NavigationController>(screen);
    tabs = base::make<ui::TabBarController>();
    tabs->setViewControllers({nav}, false);
    app.window().setRootViewController(tabs);
    app.runPending();
    settle();
    app.runPending();
}

void DecisionTest::chooseTab(int index) {
    screen->frontSwitchTabBarView().SetCurrSelectedTab(index);
    settle();
    app.runPending();
}

FrontPageViewController &DecisionTest::homeWithTab(int tag) {
    if (!home) {
        home = base::make<FrontPageViewController>();
        home->view();
    }
    home->frontSwitchTabBarView().SetCurrSelectedTab(tag - FrontPageViewController::FirstTabTag);
    settle();
    app.runPending();
    return *home;
}

std::vector<ListRequest> DecisionTest::listRequests() {
    std::vector<peers::ReceivedFrame> frames = quotes.received(peers::QuoteServer::QuoteListType);
    std::vector<ListRequest> requests;
    for (size_t i = listSeen_; i < frames.size(); ++i) {
        ByteView body = frames[i].bytes();
        uint32_t pos = 0;
        ListRequest request;
        request.classID = uint16_t(ComAPI::ReadShort(body, pos));
        if (request.classID == CodeListClass)
            continue;
        request.flag = uint16_t(ComAPI::ReadShort(body, pos));
        request.sortField = ComAPI::ReadByte(body, pos);
        request.order = ComAPI::ReadByte(body, pos);
        request.start = ComAPI::ReadShort(body, pos);
        request.count = ComAPI::ReadShort(body, pos);
        requests.push_back(request);
    }
    return requests;
}

std::vector<std::vector<std::string>> DecisionTest::codeRequests() {
    std::vector<peers::ReceivedFrame> frames = quotes.received(peers::QuoteServer::QuoteListType);
    std::vector<std::vector<std::string>> lists;
    for (size_t i = listSeen_; i < frames.size(); ++i) {
        ByteView body = frames[i].bytes();
        uint32_t pos = 0;
        if (ComAPI::ReadShort(body, pos) != CodeListClass)
            continue;
        ComAPI::ReadShort(body, pos);
        int count = ComAPI::ReadShort(body, pos);
        std::vector<std::string> codes;
        for (int c = 0; c < count; ++c)
            codes.push_back(ComAPI::ReadString(body, pos));
        lists.push_back(codes);
    }
    return lists;
}

void DecisionTest::forgetRequests() {
    listSeen_ = quotes.received(peers::QuoteServer::QuoteListType).size();
}

base::Ref<GeneralCell> DecisionTest::cellOf(MarketTableBaseView &list, int row) {
    return std::dynamic_pointer_cast<GeneralCell>(list.cellForRow(*list.curTableView(), {0, row}));
}

std::vector<std::string> DecisionTest::rowTexts(MarketTableBaseView &list, int row) {
    std::vector<std::string> texts;
    base::Ref<GeneralCell> cell = cellOf(list, row);
    if (!cell)
        return texts;
    for (int i = 0; i < cell->columnNum(); ++i) {
        ui::View *column = cell->columnAt(i);
        if (auto *name = dynamic_cast<NameFieldView *>(column))
            texts.push_back(name->StocknameLabel().text() + " " + name->StockcodeLabel().text());
        else if (auto *label = dynamic_cast<ui::Label *>(column))
            texts.push_back(label->text());
        else
            texts.push_back("?");
    }
    return texts;
}

int DecisionTest::colourOf(MarketTableBaseView &list, int row, int column) {
    base::Ref<GeneralCell> cell = cellOf(list, row);
    auto *label = cell ? dynamic_cast<ui::Label *>(cell->columnAt(column)) : nullptr;
    if (!label)
        return 2;
    const gfx::Color &colour = *label->textColor();
    if (colour == *gfx::Color::red())
        return 1;
    if (colour == *gfx::Color::green())
        return -1;
    return colour == *gfx::Color::white() ? 0 : 2;
}

bool DecisionTest::waitForRows(MarketTableBaseView &list, int rows) {
    return runUntil([&] { return list.rowCount() >= rows; }, 10);
}

gfx::Point DecisionTest::centre(const ui::View &view) {
    gfx::Rect r = view.convert(view.bounds(), nullptr);
    return {r.x() + r.width() / 2, r.y() + r.height() / 2};
}

void DecisionTest::tapRow(ui::TableView &table, int row) {
    table.layoutIfNeeded();
    base::Ref<ui::TableCell> cell = table.cellForRow({0, row});
    ASSERT_NE(cell, nullptr) << "row " << row << " is not on view";
    tapView(*cell);
    settle();
    app.runPending();
}

} // namespace decision
