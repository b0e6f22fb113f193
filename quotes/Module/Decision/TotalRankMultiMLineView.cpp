#include "Module/Decision/TotalRankMultiMLineView.h"

#include "Module/CommonControls/MinLine/Mini/MiniViewManager.h"
#include "Module/Market/MarketTableBaseView.h"

#include "DataBase/NetData/RequestPosItem.h"

namespace {

constexpr float GridTopSpace = 15, GridBelowSpace = 10, GridSideSpace = 10, GridGap = 10;
constexpr const char *BackTitle = "  返回";

} // namespace

TotalRankMultiMLineView::TotalRankMultiMLineView(gfx::Rect frame) : ui::View(frame) {}

TotalRankMultiMLineView::~TotalRankMultiMLineView() = default;

QuoteRequester TotalRankMultiMLineView::requester() {
    return base::Ref<DataPoolDelegate>(self<TotalRankMultiMLineView>());
}

void TotalRankMultiMLineView::setUp() {
    ui::View::setUp();
    const float w = bounds().width(), h = bounds().height();
    myStockQuotesData_ = MyStockQuotesData::create();
    myStockQuotesData_->setMyStockDataArray(myStockDataArray_);
    myStockQuotesData_->extendedFieldsFlag = AllBasicGroups;
    mviews_ = base::make<MiniViewManager>();

    titleImageView_ =
        base::make<ui::ImageView>(gfx::Rect{0, 0, w, TitleHeight}, gfx::Image::named("HeaderSelectedBG.png"));
    addSubview(titleImageView_);
    titleLabel_ = base::make<ui::Label>(TitleLabelFrame);
    titleLabel_->setBackgroundColor(gfx::Color::clear());
    titleLabel_->setFont(gfx::Font::boldSystem(16));
    titleLabel_->setTextColor(gfx::Color::rgba(244 / 255.f, 216 / 255.f, 57 / 255.f));
    addSubview(titleLabel_);
    backButton_ = base::make<ui::Button>(BackButtonFrame, ui::Button::Type::Custom);
    backButton_->setTitle(BackTitle);
    backButton_->titleLabel().setFont(gfx::Font::boldSystem(15));
    backButton_->titleLabel().setTextAlignment(gfx::Align::Right);
    backButton_->setBackgroundImage(gfx::Image::named("back.png"));
    backButton_->addTarget(BASE_ACTION(this, backButtonAction), ui::TouchUpInside);
    addSubview(backButton_);

    grid_ = base::make<MultiStocksShowView>(gfx::Rect{0, TitleHeight, w, h - TitleHeight});
    grid_->delegate = weakSelf<TotalRankMultiMLineView>();
    grid_->parentControllerTarget = weakSelf<TotalRankMultiMLineView>();
    grid_->setRowNum(Rows);
    grid_->setColNum(Cols);
    grid_->pageControl().setHidden(true);
    grid_->setTopSpace(GridTopSpace);
    grid_->setBelowSpace(GridBelowSpace);
    grid_->setLeftRightSpace(GridSideSpace);
    grid_->setMidVerSpace(GridGap);
    grid_->setMidHorSpace(GridGap);
    addSubview(grid_);
}

void TotalRankMultiMLineView::setTitle(const std::string &text) {
    titleLabel_->setText(text);
}

base::Array TotalRankMultiMLineView::gridEntries() const {
    base::Array entries;
    for (const auto &row : myStockDataArray_->items)
        entries.add(base::Dict{{"MarketCode", row->MarketCode.value_or("")},
                               {"StockName", row->StockName.value_or("")},
                               {"basicInf", row->basicInf}});
    return entries;
}

void TotalRankMultiMLineView::setDataArray(const base::Array &rows) {
    myStockArray_ = rows.copy();
    myStockQuotesData_->createMyStockDataArray(myStockArray_);
    grid_->SetGridDataArray(gridEntries(), true);
}

void TotalRankMultiMLineView::backButtonAction(ui::Button *) {
    if (auto owner = delegate.lock())
        owner->totalRankMultiMLineView_didTouchBack();
}

// --- Refresh and replies

void TotalRankMultiMLineView::NotifyTimeEvent(int) {
    if (myStockDataArray_->items.empty())
        return;
    myStockQuotesData_->clearPageQuotesArray();
    myStockQuotesData_->reqQuotesByPage(0, requester());
}

void TotalRankMultiMLineView::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (!params)
        return;
    if (reqType == QuoteReplyType)
        ProcQuotes(params);
    else if (reqType == MinLineReplyType)
        ProcMinLine(params);
}

void TotalRankMultiMLineView::ProcQuotes(const base::Ref<ReqParams> &params) {
    std::optional<QuoteRecords> records;
    int startid = -1, value = 0;
    if (myStockQuotesData_->ProcQuotes(int(params->get("tag").intValue()), records, startid, value) < 0)
        return;
    if (!records)
        return;
    reqMinLines_CurScreen(*records);
    if (records->empty() || startid < 0 || grid_->isHidden())
        return;
    // The grid holds the entries it was given; the quote source put new records in the rows.
    const base::Array &entries = grid_->pages().list();
    const auto &rows = myStockDataArray_->items;
    for (size_t i = 0; i < rows.size() && i < entries.size(); ++i)
        if (const base::Dict *entry = entries[i].dict())
            base::Dict(*entry).set("basicInf", rows[i]->basicInf);
    grid_->UpdateQuotes(startid, int(records->size()));
}

void TotalRankMultiMLineView::ProcMinLine(const base::Ref<ReqParams> &params) {
    base::Ref<MinLinePack> pack = MinLinePack::getMinLinePackFromDict(params->object("pack"));
    if (!pack || grid_->isHidden())
        return;
    grid_->UpdateMinLine(params->get("code").stringValue(), toMinLineList(pack->rspArray));
}

void TotalRankMultiMLineView::reqMinLines_CurScreen(const QuoteRecords &records) {
    mviews_->reqMinLinesWithQuotesArray(records, requester(), 0);
}

// --- The grid's questions

void TotalRankMultiMLineView::reqCurScreenData(const std::vector<base::Ref<StockQuoteInf>> &records,
                                               int startid, bool needReqBasicInf, int ktype) {
    if (!needReqBasicInf) {
        reqMinLines_CurScreen(records);
        return;
    }
    myStockQuotesData_->reqVisibleQuotes(records, startid, ktype, requester());
}

void TotalRankMultiMLineView::reqCurScreenQuotes(const std::vector<std::string> &codes, int startid,
                                                 int ktype) {
    myStockQuotesData_->reqVisibleQuotes(codes, startid, ktype, requester());
}

base::Ref<MinLineList> TotalRankMultiMLineView::getMinLineList(const std::string &code) {
    const auto *list = mviews_->minLineLib()->getMinLineRspArray(code);
    return list ? toMinLineList(*list) : nullptr;
}

base::Opt<void> TotalRankMultiMLineView::ReturnSelectedGridStockName(const std::string &name,
                                                                     const std::string &marketCode,
                                                                     int stockIndex) {
    if (auto owner = delegate.lock())
        owner->totalRankMultiMLineView_didSelectGridStockName(name, marketCode, stockIndex, myStockArray_);
    return {};
}
