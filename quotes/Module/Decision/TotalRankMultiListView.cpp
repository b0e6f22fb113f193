#include "Module/Decision/TotalRankMultiListView.h"

#include "Common/StylePool.h"
#include "DataBase/DataBase.h"
#include "ui/ImageView.h"
#include "ui/NavigationController.h"

#include <algorithm>

namespace {

using Colour = TotalRankMultiListView::RankList::Colour;

struct ClassRow {
    const char *name;
    int classID;
};
constexpr ClassRow Classes[] = {{"A 股综合排名", 0},       {"上证 A 股综合排名", 11},
                                {"上证 B 股综合排名", 12}, {"深证 A 股综合排名", 21},
                                {"深证 B 股综合排名", 22}, {"创业板综合排名", 25}};
constexpr const char *NoClassTitle = "综合排名";
constexpr const char *PickerTitle = "切换分类";
constexpr int PriceField = 4;
constexpr float ButtonFontSize = 17;
constexpr gfx::Size ArrowSize{13, 11};

// Red above zero, green below, white at zero.
base::Ref<gfx::Color> getColorByVal(double value) {
    if (value > 0)
        return StylePool::Instance().clTextRise;
    if (value < 0)
        return StylePool::Instance().clTextFall;
    return gfx::Color::white();
}

const TotalRankMultiListView::RankList *listOfTag(int tag) {
    const auto &all = TotalRankMultiListView::lists();
    const int i = tag - TotalRankMultiListView::FirstListTag;
    return i >= 0 && i < int(all.size()) ? &all[size_t(i)] : nullptr;
}

} // namespace

struct TotalRankMultiListView::Scrolling : ui::ScrollViewDelegate {
    base::Weak<TotalRankMultiListView> view;
    base::Opt<void> didEndDecelerating(ui::ScrollView &) override {
        if (auto v = view.lock())
            v->scrollViewDidEndDecelerating();
        return {};
    }
};

const std::vector<TotalRankMultiListView::RankList> &TotalRankMultiListView::lists() {
    static const std::vector<RankList> all = {
        {"今日涨幅排名", 1, 0, 0, 1, Colour::Change},
        {"涨速正序排名", 25, 0, 32, 25, Colour::Speed},
        {"委比正序排名", 26, 0, 64, 26, Colour::OrderRatio},
        {"今日跌幅排名", 1, 1, 0, 1, Colour::Change},
        {"涨速逆序排名", 25, 1, 32, 25, Colour::Speed},
        {"委比逆序排名", 26, 1, 64, 26, Colour::OrderRatio},
        {"今日振幅排名", 22, 0, 0, 22, Colour::Yellow},
        {"今日量比排名", 20, 0, 8, 20, Colour::Yellow},
        {"总金额排名", 3, 0, 0, 3, Colour::Yellow},
    };
    return all;
}

int TotalRankMultiListView::sortFieldOfTag(int tag) {
    const RankList *ranked = listOfTag(tag);
    return ranked ? ranked->sortField : -1;
}

int TotalRankMultiListView::directionOfTag(int tag) {
    const RankList *ranked = listOfTag(tag);
    return ranked ? ranked->direction : 0;
}

int TotalRankMultiListView::flagOfTag(int tag) {
    const RankList *ranked = listOfTag(tag);
    return ranked ? ranked->flag : 0;
}

int TotalRankMultiListView::classIdOfIndex(int index) {
    return index >= 0 && index < int(std::size(Classes)) ? Classes[index].classID : -1;
}

base::Array TotalRankMultiListView::classRows() {
    base::Array rows;
    for (size_t i = 0; i < std::size(Classes); ++i)
        rows.add(base::Dict{{"nameKey", Classes[i].name}, {"cycleTypeKey", int(i)}});
    return rows;
}

TotalRankMultiListView::TotalRankMultiListView(gfx::Rect frame) : ui::View(frame) {}

TotalRankMultiListView::~TotalRankMultiListView() {
    if (popover_ && popover_->isVisible())
        popover_->dismiss(false);
    if (picker_)
        picker_->tblDelegate.reset();
}

void TotalRankMultiListView::setUp() {
    ui::View::setUp();
    const float w = bounds().width(), h = bounds().height();
    titleBG_ = gfx::Image::named("HeaderSelectedBG.png");
    titleRect_ = {0, 0, w, TitleHeight};
    pageCtrl_ = base::make<ui::PageControl>(gfx::Rect{0, h - PageControlHeight, w, PageControlHeight});
    scrollV_ = base::make<ui::ScrollView>(gfx::Rect{0, TitleHeight, w, h - TitleHeight - PageControlHeight});
    scrollV_->pagingEnabled = true;
    scrollV_->directionalLockEnabled = true;
    scrollV_->showsHorizontalScrollIndicator = false;
    scrollV_->showsVerticalScrollIndicator = false;
    scrollV_->setBackgroundColor(gfx::Color::clear());
    scrolling_ = base::make<Scrolling>();
    scrolling_->view = self<TotalRankMultiListView>();
    scrollV_->delegate = scrolling_;
    addSubview(scrollV_);
    addSubview(pageCtrl_);

    switchBtn_ = base::make<ui::Button>(ClassButtonFrame, ui::Button::Type::Custom);
    if (auto bg = gfx::Image::named("configbar_btn.png"))
        switchBtn_->setBackgroundImage(bg->stretchable(5, 5));
    switchBtn_->setTitleColor(gfx::Color::white());
    switchBtn_->titleLabel().setFont(gfx::Font::system(ButtonFontSize));
    switchBtn_->addTarget(BASE_ACTION(this, switchStkTypeAction), ui::TouchUpInside);
    auto arrow = base::make<ui::ImageView>(gfx::Rect{ClassButtonFrame.width() - 20,
                                                     (ClassButtonFrame.height() - ArrowSize.h) / 2 + 2,
                                                     ArrowSize.w, ArrowSize.h},
                                           gfx::Image::named("configbar_btn_arrow.png"));
    switchBtn_->addSubview(arrow);
    addSubview(switchBtn_);

    std::vector<std::string> titles;
    for (const RankList &ranked : lists())
        titles.push_back(ranked.title);
    setTitleArray(titles);

    picker_ = base::make<SVCycleTableViewController>();
    picker_->setTitle(PickerTitle);
    picker_->setContentSizeInPopover(PickerSize);
    popover_ = base::make<ui::Popover>(base::make<ui::NavigationController>(picker_));
    picker_->tableView().separatorStyle = ui::TableView::Separator::None;
    picker_->tableArray = classRows();
    picker_->setCurSelType(curSelTypeIndex_);
    picker_->tblDelegate = weakSelf<TotalRankMultiListView>();
    picker_->tableView().reloadData();
    changeSwitchTypeName(curSelTypeIndex_);
    setBackgroundColor(gfx::Color::rgba(8 / 255.f, 31 / 255.f, 42 / 255.f));
}

void TotalRankMultiListView::drawRect(gfx::Context &context, gfx::Rect) {
    if (titleBG_)
        context.drawImage(titleRect_, *titleBG_);
}

void TotalRankMultiListView::setTitleArray(std::vector<std::string> titles) {
    titleArray_ = std::move(titles);
    const int perPage = rowNum_ * colNum_, n = int(titleArray_.size());
    const int pages = n > 0 ? (n - 1) / perPage + 1 : 0;
    pageCtrl_->setNumberOfPages(pages);
    const float sw = scrollV_->bounds().width(), sh = scrollV_->bounds().height();
    const float W = float(int((sw - 4 * colNum_) / colNum_)), H = float(int((sh - 2 * rowNum_) / rowNum_));
    scrollV_->setContentSize({float(pages) * sw, sh});
    std::vector<base::Ref<ui::View>> gone;
    for (const base::Ref<ui::View> &sub : scrollV_->subviews())
        if (sub->tag >= FirstListTag)
            gone.push_back(sub);
    for (const base::Ref<ui::View> &sub : gone)
        sub->removeFromSuperview();
    dataArray_.clear();
    for (int i = 0; i < n; ++i) {
        const int page = i / perPage, column = i % colNum_, row = (i % perPage) / colNum_;
        const float x = float(int(float(page) * sw + ListInset + (W + ListGap) * float(column)));
        const float y = float(int((H + ListGap) * float(row)));
        auto list = base::make<MiniRankListView>(gfx::Rect{x, y, W, H});
        list->delegate = weakSelf<TotalRankMultiListView>();
        list->lTitle().setText(titleArray_[size_t(i)]);
        list->tag = FirstListTag + i;
        scrollV_->addSubview(list);
        dataArray_.push_back(base::make<StockQuoteList>());
    }
}

MiniRankListView *TotalRankMultiListView::list(int i) const {
    for (const base::Ref<ui::View> &sub : scrollV_->subviews())
        if (sub->tag == FirstListTag + i)
            return dynamic_cast<MiniRankListView *>(sub.get());
    return nullptr;
}

void TotalRankMultiListView::changeSwitchTypeName(int index) {
    const base::Array rows = picker_ ? picker_->tableArray : classRows();
    switchBtn_->setTitle(index >= 0 && size_t(index) < rows.size()
                             ? rows[size_t(index)]["nameKey"].stringValue()
                             : NoClassTitle);
}

// --- Requests and replies

void TotalRankMultiListView::NotifyTimeEvent(int) {
    requestTotalRankList();
}

void TotalRankMultiListView::requestTotalRankList() {
    // New arrays: a reply still queued for an earlier request fills its own, not these.
    for (base::Ref<StockQuoteList> &rows : dataArray_)
        rows = base::make<StockQuoteList>();
    const base::Ref<DataBase> &db = DataBase::sharedDataBase();
    if (!db || !db->IO_NetDataCenter())
        return;
    QuoteRequester me = base::Ref<DataPoolDelegate>(self<TotalRankMultiListView>());
    const int classID = classIdOfIndex(curSelTypeIndex_);
    for (const base::Ref<ui::View> &sub : scrollV_->subviews()) {
        const int k = sub->tag - FirstListTag;
        if (k < 0 || k >= int(dataArray_.size()))
            continue;
        db->IO_NetDataCenter()->RequestStockListCom(
            me, classID, flagOfTag(sub->tag), sortFieldOfTag(sub->tag), directionOfTag(sub->tag), 0,
            RowsPerList, dataArray_[size_t(k)], FirstReplyTag + k, 0, 0);
    }
}

void TotalRankMultiListView::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (reqType == QuoteReplyType && params)
        ProcQuotes(params);
}

void TotalRankMultiListView::ProcQuotes(const base::Ref<ReqParams> &params) {
    const int k = int(params->get("tag").intValue()) - FirstReplyTag;
    if (k < 0 || k >= int(dataArray_.size()))
        return;
    if (params->has("classID") && int(params->get("classID").intValue()) != classIdOfIndex(curSelTypeIndex_))
        return;
    MiniRankListView *shown = list(k);
    if (!shown)
        return;
    base::Ref<StockQuoteList> records = params->object<StockQuoteList>("rspArray");
    if (!records)
        records = dataArray_[size_t(k)];
    shown->setDspDataArray(displayRows(k, *records));
}

base::Array TotalRankMultiListView::displayRows(int list, const StockQuoteList &records) const {
    const RankList *ranked = listOfTag(FirstListTag + list);
    base::Array rows;
    base::Ref<gfx::Font> titleFont = gfx::Font::boldSystem(17), codeFont = gfx::Font::system(14),
                         contentFont = gfx::Font::system(17);
    for (const auto &record : records.items) {
        const double change = record->newprice > 0 && record->closeprice > 0
                                  ? double(record->newprice) - double(record->closeprice)
                                  : 0;
        base::Ref<gfx::Color> second = gfx::Color::yellow();
        if (ranked && ranked->colour == Colour::Change)
            second = getColorByVal(change);
        else if (ranked && ranked->colour == Colour::Speed)
            second = getColorByVal(record->IncreaseSPD);
        else if (ranked && ranked->colour == Colour::OrderRatio)
            second = getColorByVal(record->weibi);
        rows.add(base::Dict{{"nameKey", record->name},
                            {"nameClrKey", base::Ref<base::Object>(gfx::Color::white())},
                            {"codeKey", record->code},
                            {"codeClrKey", base::Ref<base::Object>(gfx::Color::yellow())},
                            {"DspVal1Key", record->FormatValue(PriceField)},
                            {"DspVal1ClrKey", base::Ref<base::Object>(getColorByVal(change))},
                            {"DspVal2Key", ranked ? record->FormatValue(ranked->secondField) : std::string()},
                            {"DspVal2ClrKey", base::Ref<base::Object>(second)},
                            {"titleFontKey", base::Ref<base::Object>(titleFont)},
                            {"codeFontKey", base::Ref<base::Object>(codeFont)},
                            {"contentFontKey", base::Ref<base::Object>(contentFont)}});
    }
    return rows;
}

// --- The class picker and the lists' taps

void TotalRankMultiListView::switchStkTypeAction(ui::Button *) {
    picker_->togglePopover(*popover_, *switchBtn_, ui::ArrowAny);
}

base::Opt<void> TotalRankMultiListView::SVCycleTableViewClick(SVCycleTableViewController &picker,
                                                              const base::Value &entry) {
    const base::Dict *d = entry.dict();
    if (d && d->has("cycleTypeKey")) {
        const int index = int(entry["cycleTypeKey"].intValue());
        if (index != curSelTypeIndex_ && index >= 0 && size_t(index) < picker.tableArray.size()) {
            curSelTypeIndex_ = index;
            picker.setCurSelType(index);
            changeSwitchTypeName(index);
            for (const base::Ref<ui::View> &sub : scrollV_->subviews())
                if (auto *shown = dynamic_cast<MiniRankListView *>(sub.get()))
                    shown->clearMiniRankList();
            requestTotalRankList();
        }
    }
    popover_->dismiss(true);
    return {};
}

base::Opt<void> TotalRankMultiListView::miniRankListViewItemClickOperation(MiniRankListView &,
                                                                           const base::Dict &info) {
    if (auto owner = delegate.lock())
        owner->jumpToMinLineView(*this, info);
    return {};
}

base::Opt<void> TotalRankMultiListView::miniRankListViewClickOperation(MiniRankListView &,
                                                                       const base::Dict &info) {
    if (auto owner = delegate.lock())
        owner->jumpToMultiMinLineView(*this, info);
    return {};
}

void TotalRankMultiListView::scrollViewDidEndDecelerating() {
    const float width = scrollV_->bounds().width();
    if (width > 0)
        pageCtrl_->setCurrentPage(int(scrollV_->contentOffset().x / width));
}
