#pragma once

#include "DataBase/NetData/QuoteRequestRecord.h"
#include "DataBase/NetData/RequestPosItem.h"
#include "DataBase/NetData/StockQuoteInf.h"
#include "DataBase/NetData/StrikeDetailPageDict.h"
#include "base/NotificationCenter.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/ScrollView.h"
#include "ui/View.h"

#include <array>
#include <deque>
#include <string>
#include <vector>

// One page of the tick pager: up to 150 ticks in five columns of 30 rows (time, price, volume),
// on black with a lighter band behind every other column.
class StockDetailScrollView : public ui::View {
public:
    static constexpr int Columns = 5, Rows = 30;
    static constexpr float ColumnWidth = 200, BandLeft = 12, TextLeft = 22, RowHeight = 20, TextTop = 6;
    static constexpr float TimeWidth = 60, PriceWidth = 56, VolumeWidth = 60;

    explicit StockDetailScrollView(gfx::Rect frame);

    // Keeps the previous close, decimals, type and code the ticks are drawn with.
    void SetBasicInf(const StockBasicInf &basicInf);
    // Shows the page's ticks; none or a negative page hides the view.
    void UpdateStrikeArray(const std::vector<base::Ref<StkStrikeDetailItem>> *strikeArray, int pageNo);
    int currentPageNo() const { return m_currentPageNo; }
    const std::vector<base::Ref<StkStrikeDetailItem>> &strikeArray() const { return m_strikeArray; }
    // The time text of tick j: the seconds alone after a tick of the same minute on the page.
    std::string timeText(size_t j) const;

    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

private:
    std::vector<base::Ref<StkStrikeDetailItem>> m_strikeArray;
    int m_currentPageNo = -1;
    int m_lastClosePrice = 0, m_priceDecimal = 0, m_stockType = 0;
    std::string m_stockCode;
};

// What a panel asks its screen when it opens the pager: the code shown and its quote record.
class StockDetailParent {
public:
    virtual ~StockDetailParent() = default;
    virtual const std::string &getCurrentCode() const = 0;
    virtual const base::Ref<StockBasicInf> &getCurrentBasicInf() const = 0;
};

// Hears that the pager has closed, after its zoom-out.
class StockDetailFullScreenViewDelegate {
public:
    virtual ~StockDetailFullScreenViewDelegate() = default;
    virtual base::Opt<void> ReturnStrikeFullScreenViewDismiss() { return base::notImplemented; }
};

// The full-screen tick pager: the whole day's ticks of one security in pages of 150, swiped page
// by page. A double tap on a panel's tick list opens it grown out of the list's place (the panel
// calls SetStockCode, sets the title, zooms it to 1024 × 640 and adds it to the screen's view, which
// then keeps it alive); its close button shrinks it back and removes it.
//
// Page n holds the ticks at positions n × 150 to n × 150 + 149; the quote server counts positions
// from 0 and the pager asks exactly the position it wants. Every tick, fetched, cached or live,
// goes to the page of its own position, a tick held already is ignored and a page holds at most
// 150. It opens on the page of the newest tick and fetches that page and the one before, then
// whatever page the user swipes to, 30 ticks a request, one request at a time (further wishes wait
// in a list, a swipe's at its front). Live ticks from the detail screen extend the last page; a
// live batch that would leave a gap is ignored. The busy state ends when the quote connection comes
// back or 10 s after a request without its reply, and the waiting pages are asked again. The day's
// ticks are read from the tick cache when it opens and written back when it goes away.
class StockDetailFullScreenView : public ui::View, public DataPoolDelegate {
public:
    static constexpr int PageTicks = 150;
    static constexpr int BatchTicks = 30;
    static constexpr float PageWidth = 1024, PageHeight = 615, TitleHeight = 25;
    static constexpr double ZoomSeconds = 0.3;
    static constexpr double ReplyTimeout = 10;
    static constexpr const char *ObserverName = "StockDetailFullScreenViewNotify";
    static inline const gfx::Rect kFullRect{0, 0, 1024, 640};

    explicit StockDetailFullScreenView(gfx::Rect frame);
    ~StockDetailFullScreenView() override;
    // What the stock and futures panels do on a double tap on their tick list `ticksFrame` (in the
    // panel): a pager at the list's place in the panel's superview, fed with the screen's code,
    // record and newest position, titled (with the security's name when `withName`), zoomed to the
    // full screen and added to that superview, which keeps it.
    static base::Ref<StockDetailFullScreenView> Open(ui::View &panel, gfx::Rect ticksFrame, int strikeLastPos,
                                                     const base::Weak<base::Object> &parent, bool withName,
                                                     base::Weak<StockDetailFullScreenViewDelegate> delegate);
    void setUp() override;

    // Loads the cache and starts fetching the page of the newest tick, `strikeLastPos`.
    void SetStockCode(const std::string &code, const base::Ref<StockBasicInf> &basicInf, int strikeLastPos);
    void ShowWithAnimationZoomToRect(gfx::Rect rect);
    // The detail screen's newest ticks, `lastPos` the position of the last one.
    void UpdateParentStrikeArray(const std::vector<base::Ref<base::Object>> &strikes, int lastPos);
    // The close button: shrinks back, tells the delegate and removes itself.
    void GoBackAction();

    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    void scrollViewDidScroll(ui::ScrollView &scrollView);

    ui::Label &titleLabel() { return *m_titleLabel; }
    ui::Label &pageInfoLabel() { return *m_pageInfoLabel; }
    ui::Button &closeButton() { return *m_closeButton; }
    ui::ScrollView &stockDetailScrollView() { return *m_stockDetailScrollView; }
    const std::array<base::Ref<StockDetailScrollView>, 3> &scrollSubViewArray() const {
        return m_scrollSubViewArray;
    }
    StrikeDetailPageDict &strikePageDict() { return *m_strikePageDict; }
    const std::deque<int> &waitingReqPageNoArray() const { return m_waitingReqPageNoArray; }
    bool isBusyofReqStrike() const { return m_isBusyofReqStrike; }
    int maxPageNo() const { return m_maxPageNo; }
    int currentPageNo() const { return m_currentPageNo; }
    gfx::Rect fromRect() const { return m_fromRect; }

    base::Weak<StockDetailFullScreenViewDelegate> delegate;

private:
    struct Relay;
    bool reqOnePageStrike(int pageNo);
    void reqWaitingPages();
    void replyMissing();
    void gotoNewPage(int pageNo);
    void ResetNewPageView(int pageNo);
    // Files the tick under its page; false when the page is full or holds that position.
    bool addTick(const base::Ref<StkStrikeDetailItem> &tick);
    void showPage(StockDetailScrollView &view, int pageNo);
    StockDetailScrollView *viewShowing(int pageNo) const;
    void refreshViewOf(int pageNo);
    void setContentPages(int pages);
    void scrollToPage(int pageNo);
    void writePageLabel();
    void CommonNotify(const base::Notification &notification);
    void loadCache();
    void saveCache() const;

    gfx::Rect m_fromRect;
    base::Ref<Relay> m_relay;
    base::Ref<ui::ScrollView> m_stockDetailScrollView;
    std::array<base::Ref<StockDetailScrollView>, 3> m_scrollSubViewArray;
    base::Ref<ui::Button> m_closeButton;
    base::Ref<ui::Label> m_pageInfoLabel, m_titleLabel;
    base::Ref<StrikeDetailPageDict> m_strikePageDict = base::make<StrikeDetailPageDict>();
    base::Ref<RequestPosItem> m_strikePack = base::make<RequestPosItem>();
    std::deque<int> m_waitingReqPageNoArray;
    bool m_isBusyofReqStrike = false;
    // The page of the request in flight, asked again when its reply is missing.
    int m_reqPageNo = -1;
    int m_strikeLastPos = -1;
    int m_maxPageNo = -1, m_currentPageNo = -1, m_scrollPrevPageNo = -1;
    int m_quotesDate = 0;
};
