#pragma once

#include "Module/MyStock/ConfigBarView.h"
#include "Module/MyStock/ConfigView.h"
#include "Module/MyStock/MyStockTableView.h"

#include "Module/DetailShowPanel/MultiStocksShowView.h"
#include "Module/StockDataBaseMgnt/KLineNetData.h"

#include "Common/TimerCenter.h"
#include "Components/CMViewController.h"
#include "DataBase/NetData/QuoteRequestRecord.h"
#include "Module/StockDataBaseMgnt/MyStockQuotesData.h"

#include "base/NotificationCenter.h"

#include <cstdint>
#include <string>

// The screen of the watch-list tab: the tool bar, the first watch-list group shown as the quote
// table (trend or column rows) or as a paged grid of small charts (four or six cells a page, one
// period for all) and, in edit mode, the group editor in front of them. The screen owns the rows
// and sends every request: the group's quotes in pages of 25 as the table scrolls or the grid
// pages, the rows or cells on show every 5 s while the quote connection is up, all quotes for a
// sort unless they were fetched within 5 s, the rows' intraday pictures and the cells' charts. A
// changed group is asked for again one second after its last change. A row or cell opens the
// detail screen with the rows as displayed, so that previous and next follow what the user sees.
class MyStockViewController : public CMViewController,
                              public ConfigBarViewDelegate,
                              public MyStockTableViewDelegate,
                              public MyStockTableViewTarget,
                              public MultiStocksShowViewDelegate,
                              public MultiStocksShowViewDataSource,
                              public TimerCenterDelegate,
                              public DataPoolDelegate {
public:
    static constexpr double RefreshPeriod = 5.0;
    static constexpr double RereqDelay = 1.0;
    static constexpr int FirstTimerID = 200;
    static constexpr int FirstRowsCharted = 10;
    // Candles asked for each cell: the first page after a page-0 reply, and any page on show.
    static constexpr int FirstPageCandles = 50, PageCandles = 200;
    static constexpr float WaitingWidth = 140, WaitingHeight = 100;
    static constexpr const char *GroupListFile = "MyStockModuleList";
    // The first-run help of this screen, shown once over the tab bar.
    static constexpr int HelpID = 1;
    static inline const gfx::Rect BarFrame{0, 0, 1024, 36};
    static inline const gfx::Rect QuoteFrame{0, 36, 1024, 600};

    ~MyStockViewController() override;
    void viewDidLoad() override;
    void viewDidUnload() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    bool shouldAutorotateTo(ui::Orientation orientation) override;
    base::Opt<void> traderButtonAction(ui::View &) override;

    base::Opt<void> BtnEditMyStockAction(ui::Button &sender) override;
    base::Opt<void> SwitchTabButtonAction(ui::Button &sender) override;
    base::Opt<void> SwitchCircleTabAction(ui::Button &sender) override;
    base::Opt<void> ReturnStockName(const std::string &name, const std::string &code, int index) override;
    base::Opt<void> resetTimerCenterOnScroll(int slot) override;
    void prereqNextPageQuotes(double offset, double rowHeight) override;
    void reqCurScreenData(const std::vector<int> &visibleRows) override;
    void reqCurScreenQuotes(const std::vector<int> &visibleRows) override;
    void resetQuotesSortId(int sortID, int sortType) override;
    MiniViewManager *mviews() override { return m_mviews.get(); }
    base::Opt<void> ReturnCurrentSelectedPageNum(int currentPage, int pageSize) override;
    base::Opt<void> ReturnSelectedGridStockName(const std::string &name, const std::string &marketCode,
                                                int stockIndex) override;
    void reqCurScreenData(const std::vector<base::Ref<StockQuoteInf>> &records, int startid,
                          bool needReqBasicInf, int ktype) override;
    void reqCurScreenQuotes(const std::vector<std::string> &codes, int startid, int ktype) override;
    base::Ref<MinLineList> getMinLineList(const std::string &code) override;
    base::Ref<KLineList> getKLineList(const std::string &code, int ktype) override;
    base::Opt<void> OnTimerCenterNotify(int32_t userID) override;
    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    // Back to the bundle's first group after the user's files were deleted.
    void ResetMyModuleAndStockArray();
    // Lets the grid go while a table type shows; choosing a grid type makes it again.
    void didReceiveMemoryWarning() override;

    static bool editFlag() { return s_editFlag; }
    // For tests, which start each case as a fresh process would.
    static void resetEditFlag() { s_editFlag = false; }

    ConfigBarView &configBarView() { return *m_configBarView; }
    ConfigView &configView() { return *m_configView; }
    MyStockTableView &myStockTableView() { return *m_myStockTableView; }
    // Null until a grid type is first chosen, and again after a memory warning under a table type.
    MultiStocksShowView *myMultiStockShowView() const { return m_myMultiStockShowView.get(); }
    MyStockQuotesData &quotesData() { return *m_myStockQuotesData; }
    const base::Ref<MyStockRowList> &myStockDataArray() const { return m_myStockDataArray; }
    const base::Array &myStockArray() const { return m_myStockArray; }
    const std::string &currentModelName() const { return m_currentModelName; }
    const std::string &currentModelFileName() const { return m_currentModelFileName; }
    int16_t currentViewType() const { return m_currentViewType; }

private:
    void initData();
    void initUI();
    void SetHelpTip();
    void useGroupList(const base::Array &groups);
    void reqQuotesByPage(int page);
    void rereqData();
    void ReloadModelStocks(const std::string &fileName);
    // Rows, columns and spacing of the grid, made when missing, filled with the rows as shown.
    void showGrid(int rows, int cols, float leftRightSpace, float gap);
    // The rows as the grid takes them: {"MarketCode", "StockName", "basicInf"}.
    base::Array gridEntries() const;
    // Puts each row's current record back on its grid entry: replies replace rows' records.
    void refreshGridRecords();
    bool gridShown() const { return m_myMultiStockShowView && !m_myMultiStockShowView->isHidden(); }
    void reloadMyStockArray(const std::string &fileName);
    void reqMinLines(const QuoteRecords &records, int count);
    // The first screen's charts after a page-0 or sort reply: the first ten rows' pictures, or
    // in a grid of candles the first page's candles.
    void reqFirstPageCharts(const QuoteRecords &records);
    void reqKLines(const QuoteRecords &records, int ktype, int count, int reqCount);
    void ProcQuotes(const base::Ref<ReqParams> &params);
    void ProcMinLine(const base::Ref<ReqParams> &params);
    void ProcKLine(const base::Ref<ReqParams> &params);
    void MyStockSwitchAction(const base::Notification &notification);
    void CommonNotify(const base::Notification &notification);
    // 0 the table, 1 a four-cell grid, 2 a six-cell grid.
    int getCurTabIndex() const;
    void resetCurTimerCenter();
    void reqDataOnTimer(int slot);
    void openDetail(const std::string &code, int index);
    bool editing() const { return !m_configView->isHidden(); }
    QuoteRequester requester();

    static inline bool s_editFlag = false;

    base::Ref<ConfigBarView> m_configBarView;
    base::Ref<ConfigView> m_configView;
    base::Ref<MyStockTableView> m_myStockTableView;
    base::Ref<MultiStocksShowView> m_myMultiStockShowView;
    base::Array m_myStockArray;
    base::Ref<MyStockRowList> m_myStockDataArray = base::make<MyStockRowList>();
    std::string m_currentModelName, m_currentModelFileName;
    base::Array m_myStockModelArray;
    int16_t m_currentViewType = 0;
    int m_currentRow = 2, m_currentCol = 2;
    base::Ref<MyStockQuotesData> m_myStockQuotesData;
    base::Ref<MiniViewManager> m_mviews;
    base::Ref<KLineNetData> m_klineLib;
};
