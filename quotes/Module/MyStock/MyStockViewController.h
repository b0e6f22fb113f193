#pragma once

#include "Module/MyStock/ConfigBarView.h"
#include "Module/MyStock/ConfigView.h"
#include "Module/MyStock/MyStockTableView.h"

#include "Common/TimerCenter.h"
#include "Components/CMViewController.h"
#include "DataBase/NetData/QuoteRequestRecord.h"
#include "Module/StockDataBaseMgnt/MyStockQuotesData.h"

#include "base/NotificationCenter.h"

#include <cstdint>
#include <string>

// The screen of the watch-list tab: the tool bar, the quote table of the first watch-list group
// (trend or column rows) and, in edit mode, the group editor in front of it. The screen owns the
// rows and sends every request: the group's quotes in pages of 25 as the table scrolls, the
// visible rows every 5 s while the quote connection is up, all quotes for a sort unless they were
// fetched within 5 s, the rows' intraday pictures. A changed group is asked for again one second
// after its last change. A row opens the detail screen with the rows as displayed, so that
// previous and next follow what the user sees.
class MyStockViewController : public CMViewController,
                              public ConfigBarViewDelegate,
                              public MyStockTableViewDelegate,
                              public MyStockTableViewTarget,
                              public TimerCenterDelegate,
                              public DataPoolDelegate {
public:
    static constexpr double RefreshPeriod = 5.0;
    static constexpr double RereqDelay = 1.0;
    static constexpr int FirstTimerID = 200;
    static constexpr int FirstRowsCharted = 10;
    static constexpr float WaitingWidth = 140, WaitingHeight = 100;
    static constexpr const char *GroupListFile = "MyStockModuleList";
    static inline const gfx::Rect BarFrame{0, 0, 1024, 36};
    static inline const gfx::Rect QuoteFrame{0, 36, 1024, 600};

    ~MyStockViewController() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    bool shouldAutorotateTo(ui::Orientation orientation) override;
    base::Opt<void> traderButtonAction(ui::View &) override;

    base::Opt<void> BtnEditMyStockAction(ui::Button &sender) override;
    base::Opt<void> SwitchTabButtonAction(ui::Button &sender) override;
    base::Opt<void> ReturnStockName(const std::string &name, const std::string &code, int index) override;
    void resetTimerCenterOnScroll(int slot) override;
    void prereqNextPageQuotes(double offset, double rowHeight) override;
    void reqCurScreenData(const std::vector<int> &visibleRows) override;
    void reqCurScreenQuotes(const std::vector<int> &visibleRows) override;
    void resetQuotesSortId(int sortID, int sortType) override;
    MiniViewManager *mviews() override { return m_mviews.get(); }
    base::Opt<void> OnTimerCenterNotify(int32_t userID) override;
    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    // Back to the bundle's first group after the user's files were deleted.
    void ResetMyModuleAndStockArray();

    static bool editFlag() { return s_editFlag; }
    // For tests, which start each case as a fresh process would.
    static void resetEditFlag() { s_editFlag = false; }

    ConfigBarView &configBarView() { return *m_configBarView; }
    ConfigView &configView() { return *m_configView; }
    MyStockTableView &myStockTableView() { return *m_myStockTableView; }
    MyStockQuotesData &quotesData() { return *m_myStockQuotesData; }
    const base::Ref<MyStockRowList> &myStockDataArray() const { return m_myStockDataArray; }
    const base::Array &myStockArray() const { return m_myStockArray; }
    const std::string &currentModelName() const { return m_currentModelName; }
    const std::string &currentModelFileName() const { return m_currentModelFileName; }
    int16_t currentViewType() const { return m_currentViewType; }

private:
    void initData();
    void initUI();
    void useGroupList(const base::Array &groups);
    void reqQuotesByPage(int page);
    void rereqData();
    void ReloadModelStocks(const std::string &fileName);
    void reloadMyStockArray(const std::string &fileName);
    void reqMinLines(const QuoteRecords &records, int count);
    void ProcQuotes(const base::Ref<ReqParams> &params);
    void ProcMinLine(const base::Ref<ReqParams> &params);
    void MyStockSwitchAction(const base::Notification &notification);
    void CommonNotify(const base::Notification &notification);
    void resetCurTimerCenter();
    void reqDataOnTimer();
    bool editing() const { return !m_configView->isHidden(); }
    QuoteRequester requester();

    static inline bool s_editFlag = false;

    base::Ref<ConfigBarView> m_configBarView;
    base::Ref<ConfigView> m_configView;
    base::Ref<MyStockTableView> m_myStockTableView;
    base::Array m_myStockArray;
    base::Ref<MyStockRowList> m_myStockDataArray = base::make<MyStockRowList>();
    std::string m_currentModelName, m_currentModelFileName;
    base::Array m_myStockModelArray;
    int16_t m_currentViewType = 0;
    base::Ref<MyStockQuotesData> m_myStockQuotesData;
    base::Ref<MiniViewManager> m_mviews;
};
