#include "Module/FreeFrontPage/IndexSideBannerListView.h"

#include "Common/StylePool.h"
#include "DataBase/DataBase.h"
#include "DataBase/NetData/RequestPosItem.h"

#include "ui/ImageView.h"

#include <algorithm>

namespace {

// The rooms of a header, as parts of its width and height.
constexpr float NamePart = 0.55f, LinePart = 0.55f, ValueInset = 25;
// Visible room an open index needs: its header and its chart.
constexpr float OpenRoom = IndexSideBannerListView::HeaderHeight + IndexSideBannerListView::ChartHeight;
constexpr float SelectedBgHeight = 80;

base::Ref<MinLineList> toMinLineList(const std::vector<base::Ref<base::Object>> &points) {
    auto list = std::make_shared<MinLineList>();
    for (const base::Ref<base::Object> &point : points)
        if (auto item = std::dynamic_pointer_cast<StkMinLineItem>(point))
            list->push_back(item);
    return list;
}

} // namespace

// --- The header item

SectionHeaderItem SectionHeaderItem::of(const StockQuoteInf &record) {
    SectionHeaderItem item;
    item.name = record.name;
    item.code = record.code;
    item.nameClr = gfx::Color::white();
    item.codeClr = gfx::Color::rgba(0.64f, 0.56f, 0.16f);
    item.nameFont = gfx::Font::boldSystem(18);
    item.codeFont = gfx::Font::boldSystem(15);
    item.newPriceFont = gfx::Font::boldSystem(18);
    item.zfFont = gfx::Font::boldSystem(15);
    item.newPrice = record.FormatValue(4);
    // An index without a latest value has nothing to colour.
    bool opened = record.openprice >= 1 && record.newprice != 0;
    if (opened && record.newprice > record.closeprice)
        item.newPriceClr = gfx::Color::red();
    else if (opened && record.newprice < record.closeprice)
        item.newPriceClr = gfx::Color::green();
    else
        item.newPriceClr = gfx::Color::white();
    if (record.newprice == 0)
        item.zfVal = "--";
    else if (record.newprice == record.closeprice)
        item.zfVal = "0.00%";
    else
        item.zfVal = record.FormatValue(1);
    return item;
}

// --- The header

SectionHeaderView::SectionHeaderView(gfx::Rect frame, SectionHeaderItem item, int section,
                                     base::Weak<SectionHeaderViewDelegate> delegate, bool extandStatus)
    : ui::Control(frame), stockItem(std::move(item)), delegate(std::move(delegate)),
      extandStatus(extandStatus) {
    tag = section;
    opaque = false;
    setBackgroundColor(gfx::Color::clear());
}

void SectionHeaderView::setUp() {
    ui::Control::setUp();
    addTarget(BASE_ACTION(this, expandHeaderAction), ui::TouchUpInside);
}

void SectionHeaderView::expandHeaderAction(ui::Control *) {
    if (extandStatus)
        return;
    base::Ref<ui::View> alive = self<ui::View>();
    if (auto d = delegate.lock())
        d->sectionHeaderView(*this, tag);
}

void SectionHeaderView::drawRect(gfx::Context &context, gfx::Rect) {
    gfx::Rect r = bounds();
    float w = r.width(), h = r.height();
    context.clearRect(r);
    const base::Ref<gfx::Image> &background = extandStatus && selBGImg ? selBGImg : bgImg;
    if (background)
        context.drawImage(r, *background);
    if (stockItem.code.empty())
        return;
    auto text = [&](const std::string &s, const base::Ref<gfx::Color> &colour,
                    const base::Ref<gfx::Font> &font, gfx::Rect box) {
        if (!colour || !font)
            return;
        context.setFill(*colour);
        context.drawText(s, box, *font, gfx::LineBreak::Clip);
    };
    float right = NamePart * w + ValueInset, rightWidth = NamePart * w - ValueInset;
    text(stockItem.name, stockItem.nameClr, stockItem.nameFont, {3, 3, NamePart * w, 0.65f * h});
    text(stockItem.code, stockItem.codeClr, stockItem.codeFont,
         {3, LinePart * h - 2, NamePart * w, 0.6f * h});
    text(stockItem.newPrice, stockItem.newPriceClr, stockItem.newPriceFont, {right, 2, rightWidth, 0.5f * h});
    text(stockItem.zfVal, stockItem.newPriceClr, stockItem.zfFont,
         {right, LinePart * h - 2, rightWidth, 0.5f * h});
}

// --- The chart row

SmallMinLineViewCell::SmallMinLineViewCell() : ui::TableCell(Style::Default, Identifier) {
    smallMinLineV_ = base::make<SmallMinLineView>(gfx::Rect{});
    smallMinLineV_->setBackgroundColor(gfx::Color::clear());
    contentView().addSubview(smallMinLineV_);
}

// --- The list

struct IndexSideBannerListView::Table : ui::TableDataSource, ui::TableDelegate {
    base::Weak<IndexSideBannerListView> list;

    int numberOfSections(ui::TableView &) override {
        auto l = list.lock();
        return l ? int(l->stockDataArray_.size()) : 0;
    }
    int numberOfRows(ui::TableView &, int section) override {
        auto l = list.lock();
        return l && section < int(l->stockDataArray_.size()) && l->stockDataArray_[size_t(section)]->open ? 1
                                                                                                          : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath) override {
        float w = table.bounds().width();
        auto cell = std::dynamic_pointer_cast<SmallMinLineViewCell>(
            table.dequeueReusableCell(SmallMinLineViewCell::Identifier));
        if (!cell) {
            cell = base::make<SmallMinLineViewCell>();
            cell->setSelectedBackgroundView(base::make<ui::ImageView>(gfx::Rect{0, 0, w, SelectedBgHeight},
                                                                      gfx::Image::named("SelectedBg.png")));
            cell->setBackgroundView(base::make<ui::ImageView>(gfx::Rect{0, 0, w, ChartHeight},
                                                              gfx::Image::named("RayBackground.png")));
        }
        SmallMinLineView &chart = cell->smallMinLineV();
        chart.setFrame({0, 0, w, ChartHeight});
        chart.SetChartBackgroundColor(StylePool::Instance().clChartBG);
        chart.setNeedsDisplay();
        cell->contentView().setFrame({0, 0, w, ChartHeight});
        return cell;
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return ChartHeight; }
    base::Opt<float> heightForHeader(ui::TableView &, int section) override {
        auto l = list.lock();
        return l && section < int(l->stockDataArray_.size()) ? HeaderHeight : 0;
    }
    base::Opt<base::Ref<ui::View>> viewForHeader(ui::TableView &table, int section) override {
        auto l = list.lock();
        if (!l || section >= int(l->stockDataArray_.size()))
            return base::Ref<ui::View>();
        const SectionInfo &info = *l->stockDataArray_[size_t(section)];
        auto header = base::make<SectionHeaderView>(gfx::Rect{0, 0, table.bounds().width(), HeaderHeight},
                                                    info.dicData, section, l, info.open);
        header->bgImg = gfx::Image::named("RayBackground.png");
        header->selBGImg = gfx::Image::named("HeaderBG.png");
        return base::Ref<ui::View>(header);
    }
    base::Opt<void> didSelectRow(ui::TableView &table, ui::IndexPath path) override {
        if (auto l = list.lock())
            l->chartTapped();
        table.deselectRow(path, true);
        return {};
    }
};

const std::vector<std::string> &IndexSideBannerListView::indexCodes() {
    static const std::vector<std::string> codes = {"SH000001", "SZ399001", "HKHSI", "SZ399006", "IXDJIA"};
    return codes;
}

IndexSideBannerListView::Scroll IndexSideBannerListView::scrollForOpening(float offset, float tableHeight,
                                                                          int section) {
    float headerTop = HeaderHeight * float(section);
    float room = offset + tableHeight - headerTop;
    if (room < OpenRoom)
        offset += OpenRoom - room;
    Scroll s{offset, offset};
    int d = int(headerTop + HeaderHeight - offset);
    if (d <= int(HeaderHeight) - 1)
        s.top = std::max(0.f, offset - (HeaderHeight - float(d)));
    return s;
}

IndexSideBannerListView::IndexSideBannerListView(gfx::Rect frame) : ui::TableView(frame, Style::Plain) {
    sectionHeaderHeight = HeaderHeight;
    rowHeight = ChartHeight;
    separatorStyle = Separator::None;
    setBackgroundColor(gfx::Color::clear());
    opaque = false;
}

IndexSideBannerListView::~IndexSideBannerListView() {
    base::NotificationCenter::shared().removeObserver(this);
}

void IndexSideBannerListView::setUp() {
    ui::TableView::setUp();
    table_ = base::make<Table>();
    table_->list = weakSelf<IndexSideBannerListView>();
    dataSource = table_;
    delegate = table_;

    base::Weak<IndexSideBannerListView> weak = weakSelf<IndexSideBannerListView>();
    base::NotificationCenter::shared().addObserver(weak, ObserverName, [weak](const base::Notification &n) {
        if (auto self = weak.lock())
            DataBase::ProcRecvNotify(n, *self);
    });
    base::NotificationCenter::shared().addObserver(weak, DataBase::CommonNotify,
                                                   [weak](const base::Notification &n) {
                                                       if (auto self = weak.lock())
                                                           self->CommonNotify(n);
                                                   });
    indexSideBannerQuotes_ = base::make<CustomQuotesList>();
    indexSideBannerQuotes_->codeArray = indexCodes();
    indexSideBannerQuotes_->loadFromCodes();
    rspArray_ = base::make<StockQuoteList>();
    indexBannerMinLineLib_ = base::make<MLineNetData>();
    reqIndexBanner();
}

void IndexSideBannerListView::reqIndexBanner() {
    if (const base::Ref<DataBase> &db = DataBase::sharedDataBase())
        if (auto center = db->IO_NetDataCenter())
            center->RequestPauseList(std::string(ObserverName), 0, indexSideBannerQuotes_->codeArray,
                                     rspArray_, 0);
}

base::Array IndexSideBannerListView::records() const {
    base::Array out;
    for (const auto &row : indexSideBannerQuotes_->dataArray)
        out.add(base::Value(row->basicInf));
    return out;
}

void IndexSideBannerListView::reqOpenMinLine() {
    const std::vector<std::string> &codes = indexSideBannerQuotes_->codeArray;
    if (openSectionIndex_ >= 0 && openSectionIndex_ < int(codes.size()))
        indexBannerMinLineLib_->reqMinLine(std::string(ObserverName), codes[size_t(openSectionIndex_)]);
}

SmallMinLineView *IndexSideBannerListView::openChart() const {
    auto cell = std::dynamic_pointer_cast<SmallMinLineViewCell>(cellForRow({openSectionIndex_, 0}));
    return cell ? &cell->smallMinLineV() : nullptr;
}

void IndexSideBannerListView::showChart(SmallMinLineView &chart, const base::Ref<StockQuoteInf> &record,
                                        const std::vector<base::Ref<base::Object>> &minutes) {
    base::Ref<MinLineList> list = toMinLineList(minutes);
    chartMinutes_ = int(list->size());
    chart.Update(record, list);
}

void IndexSideBannerListView::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (!params)
        return;
    if (reqType == QuoteListType) {
        if (params->object<StockQuoteList>("rspArray") != rspArray_)
            return;
        indexSideBannerQuotes_->rspQuotesArray = rspArray_->items;
        indexSideBannerQuotes_->loadQuotes();
        reqOpenMinLine();
        stockDataArray_.clear();
        for (size_t i = 0; i < indexSideBannerQuotes_->dataArray.size(); ++i) {
            auto info = base::make<SectionInfo>();
            if (const base::Ref<StockQuoteInf> &record = indexSideBannerQuotes_->dataArray[i]->basicInf)
                info->dicData = SectionHeaderItem::of(*record);
            info->open = int(i) == openSectionIndex_;
            stockDataArray_.push_back(info);
        }
        reloadData();
    } else if (reqType == MinLineType) {
        base::Ref<MinLinePack> pack = MinLinePack::getMinLinePackFromDict(params->object("pack"));
        std::string code = params->get("code").stringValue();
        const auto &rows = indexSideBannerQuotes_->dataArray;
        // Another index column answers under the same name with packs of its own.
        if (!pack || indexBannerMinLineLib_->getMinLinePack(code) != pack || openSectionIndex_ < 0 ||
            openSectionIndex_ >= int(rows.size()))
            return;
        const CustomQuotesList::QuoteDic &row = *rows[size_t(openSectionIndex_)];
        if (code != row.code)
            return;
        if (SmallMinLineView *chart = openChart())
            showChart(*chart, row.basicInf, pack->rspArray);
    }
}

base::Opt<void> IndexSideBannerListView::sectionHeaderView(SectionHeaderView &header, int section) {
    if (section < 0 || section >= int(stockDataArray_.size()))
        return {};
    header.extandStatus = !header.extandStatus;
    if (openSectionIndex_ >= 0 && openSectionIndex_ < int(stockDataArray_.size()))
        stockDataArray_[size_t(openSectionIndex_)]->open = false;
    reloadData();
    stockDataArray_[size_t(section)]->open = true;
    bounces = true;
    reloadSections({section}, ui::RowAnimation::Fade);
    openSectionIndex_ = section;
    // The new index's minutes at hand, or none: never the previous index's.
    if (SmallMinLineView *chart = openChart()) {
        const CustomQuotesList::QuoteDic &row = *indexSideBannerQuotes_->dataArray[size_t(section)];
        auto *minutes = indexBannerMinLineLib_->getMinLineRspArray(row.code);
        showChart(*chart, row.basicInf, minutes ? *minutes : std::vector<base::Ref<base::Object>>{});
    }
    reqOpenMinLine();

    Scroll s = scrollForOpening(contentOffset().y, bounds().height(), section);
    if (s.shown != contentOffset().y)
        setContentOffset({contentOffset().x, s.shown}, true);
    if (s.top != s.shown)
        setContentOffset({contentOffset().x, s.top}, false);
    return {};
}

void IndexSideBannerListView::chartTapped() {
    const std::vector<std::string> &codes = indexSideBannerQuotes_->codeArray;
    if (openSectionIndex_ < 0 || openSectionIndex_ >= int(codes.size()))
        return;
    base::Ref<ui::View> alive = self<ui::View>();
    if (auto d = indexSideBannerDelegate.lock())
        d->IndexSideBannerMinLineViewClick(*this, base::Dict{{"kStkCode", codes[size_t(openSectionIndex_)]},
                                                             {"kDataArray", records()},
                                                             {"kStkIndex", openSectionIndex_}});
}

void IndexSideBannerListView::CommonNotify(const base::Notification &notification) {
    if (notification.userInfo.get("HQConnectStatus").boolValue())
        indexBannerMinLineLib_->setAllIdle();
    if (notification.userInfo.get("AppActiveState").stringValue() == "AppDidBecomeActive")
        indexBannerMinLineLib_->clearAllMinLinesData();
}
