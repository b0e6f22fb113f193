#pragma once

#include "DataBase/NetData/CustomQuotesList.h"
#include "DataBase/NetData/NetDataCenter.h"
#include "Module/CommonControls/MinLine/Small/SmallMinLineView.h"
#include "Module/StockDataBaseMgnt/MLineNetData.h"

#include "base/NotificationCenter.h"
#include "gfx/Font.h"
#include "ui/Control.h"
#include "ui/TableView.h"

#include <string>
#include <vector>

// What one index header shows: name and code on the left, the latest value and its change on the
// right, both in the colour of the day's direction.
struct SectionHeaderItem {
    std::string name, code, newPrice, zfVal;
    base::Ref<gfx::Color> nameClr, codeClr, newPriceClr;
    base::Ref<gfx::Font> nameFont, codeFont, newPriceFont, zfFont;

    // Red above the previous close and green below it once the index has opened today; white
    // before the open, when unchanged or without a latest value, whose change reads "--".
    static SectionHeaderItem of(const StockQuoteInf &record);
};

// The state of one index of the list.
class SectionInfo : public base::Object {
public:
    bool open = false;
    SectionHeaderItem dicData;
};

class SectionHeaderView;

// Hears a tap on a closed header, with its section.
class SectionHeaderViewDelegate {
public:
    virtual ~SectionHeaderViewDelegate() = default;
    virtual base::Opt<void> sectionHeaderView(SectionHeaderView &header, int section) {
        (void)header, (void)section;
        return base::notImplemented;
    }
};

// The 44-point header of one index, drawn by itself over its background ("RayBackground.png"
// closed, "HeaderBG.png" open). An open header ignores taps: there is no way to close all.
class SectionHeaderView : public ui::Control {
public:
    SectionHeaderView(gfx::Rect frame, SectionHeaderItem stockItem, int section,
                      base::Weak<SectionHeaderViewDelegate> delegate, bool extandStatus);
    void setUp() override;

    void expandHeaderAction(ui::Control *sender);
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

    base::Ref<gfx::Image> bgImg, selBGImg;
    SectionHeaderItem stockItem;
    base::Weak<SectionHeaderViewDelegate> delegate;
    bool extandStatus = false;
};

// The row under the open header: its intraday chart.
class SmallMinLineViewCell : public ui::TableCell {
public:
    static constexpr const char *Identifier = "Cell";
    SmallMinLineViewCell();
    SmallMinLineView &smallMinLineV() { return *smallMinLineV_; }

private:
    base::Ref<SmallMinLineView> smallMinLineV_;
};

// Hears a tap on the open index's chart: {"kStkCode": its code, "kDataArray": the five quote
// records in list order, "kStkIndex": its position}.
class IndexSideBannerDelegate {
public:
    virtual ~IndexSideBannerDelegate() = default;
    virtual base::Opt<void> IndexSideBannerMinLineViewClick(ui::View &list, const base::Dict &userInfo) {
        (void)list, (void)userInfo;
        return base::notImplemented;
    }
};

// The free home page's list of five indices: a 44-point header per index and, under the one open
// index, a 150-point row with its intraday chart. Tapping a closed header opens that index in
// place of the open one and asks its minutes; tapping the chart reports the index to the page.
// The five quotes come with one request at creation and at every refresh of the page; each reply
// rebuilds the headers (keeping the open one) and asks the open index's minutes again. Positions
// are those of the fixed code list, whatever the reply holds, so a reply that leaves an index out
// keeps its placeholder (name and code both the code) and never shifts the open index.
//
// A newly opened index shows its minutes already at hand, or an empty chart until they come.
// Minutes of any index but the open one are dropped. A returning quote connection lets intraday
// requests start afresh; an application that becomes active again drops the minutes.
class IndexSideBannerListView : public ui::TableView,
                                public DataPoolDelegate,
                                public SectionHeaderViewDelegate {
public:
    static constexpr const char *ObserverName = "IndexSideBannerViewNotify";
    static constexpr int QuoteListType = 2955, MinLineType = 2942;
    static constexpr float HeaderHeight = 44, ChartHeight = 150;
    static const std::vector<std::string> &indexCodes();

    // Where the list rests after opening `section`: first scrolled down (animated) so that the
    // header and its chart show whole, then up (at once) so that a header above the top shows
    // whole, never above the top.
    struct Scroll {
        float shown, top;
    };
    static Scroll scrollForOpening(float offset, float tableHeight, int section);

    explicit IndexSideBannerListView(gfx::Rect frame);
    ~IndexSideBannerListView() override;
    void setUp() override;

    void reqIndexBanner();
    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    base::Opt<void> sectionHeaderView(SectionHeaderView &header, int section) override;

    int openSectionIndex() const { return openSectionIndex_; }
    const std::vector<base::Ref<SectionInfo>> &stockDataArray() const { return stockDataArray_; }
    // The five quote records in list order, placeholders where a reply left an index out.
    base::Array records() const;
    // The chart of the open index while its row is in view.
    SmallMinLineView *openChart() const;
    // How many minutes the open index's chart was last given.
    int openChartMinutes() const { return chartMinutes_; }
    MLineNetData &minLineLib() { return *indexBannerMinLineLib_; }

    base::Weak<IndexSideBannerDelegate> indexSideBannerDelegate;

private:
    struct Table;

    void reqOpenMinLine();
    void showChart(SmallMinLineView &chart, const base::Ref<StockQuoteInf> &record,
                   const std::vector<base::Ref<base::Object>> &minutes);
    void CommonNotify(const base::Notification &notification);
    void chartTapped();

    base::Ref<Table> table_;
    base::Ref<CustomQuotesList> indexSideBannerQuotes_;
    base::Ref<StockQuoteList> rspArray_;
    base::Ref<MLineNetData> indexBannerMinLineLib_;
    std::vector<base::Ref<SectionInfo>> stockDataArray_;
    int openSectionIndex_ = 0;
    int chartMinutes_ = 0;
};
