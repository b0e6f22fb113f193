#include "Module/CommonControls/TableView/StrikeDetailView.h"

#include "Common/StylePool.h"
#include "Common/Util.h"
#include "base/Str.h"

namespace {

// A time of HHMMSS (not HHMM) carries seconds.
constexpr int kFirstTimeWithSeconds = 10001;

} // namespace

StrikeDetailView::StrikeDetailView(gfx::Rect frame, base::Weak<base::Object> controller)
    : StyleTableBaseView(frame, std::move(controller)) {
    const StylePool &style = StylePool::Instance();
    m_cols.clear();
    addCol("time", 60, 2, style.clTextName);
    addCol("price", 86, 2, style.clTextRise);
    addCol("vol", 0, 2, style.clTextVol);
}

void StrikeDetailView::Update(const base::Ref<StockBasicInf> &basicInf, const Rows *strikeDetailList,
                              int lastPos) {
    m_basicInf = basicInf;
    m_strikeLastPos = lastPos;
    updateList(strikeDetailList, 2);
}

base::Ref<ui::TableCell> StrikeDetailView::cellForRow(ui::TableView &table, size_t row) {
    base::Ref<ui::TableCell> cell = createOrResetCell(table, CellIdentifier);
    size_t count = list().size();
    size_t c = count - row - 1;
    auto tick = rowAs<StkStrikeDetailItem>(c);
    base::Ref<StockBasicInf> basic = m_basicInf.lock();
    if (!tick)
        return cell;
    if (!basic)
        basic = base::make<StockBasicInf>();
    auto newer = c + 1 < count ? rowAs<StkStrikeDetailItem>(c + 1) : nullptr;
    bool secondsOnly = tick->time >= kFirstTimeWithSeconds && newer && newer->time / 100 == tick->time / 100;
    const StylePool &style = StylePool::Instance();
    setCellText(*cell, 0, Util::FormatTime(tick->time, secondsOnly));
    setCellText(*cell, 1, Util::FormatPrice(tick->dealPrice, basic->decimal),
                style.getPriceColor(basic->closeprice, tick->dealPrice));
    setCellText(*cell, 2, volumeText(*tick, *basic), tick->isOuterPan ? style.clTextRise : style.clTextFall);
    fillMore(*cell, *tick);
    return cell;
}

std::string StrikeDetailView::volumeText(const StkStrikeDetailItem &tick, const StockBasicInf &basic) const {
    return Util::FormatBuySellPanVolume(tick.dealVol, basic.code, basic.type);
}

FutureStrikeDetailView::FutureStrikeDetailView(gfx::Rect frame, base::Weak<base::Object> controller)
    : StrikeDetailView(frame, std::move(controller)) {
    const StylePool &style = StylePool::Instance();
    m_bShowTitleBar = true;
    m_cols.clear();
    addCol("分笔", 60, 2, style.clTextName);
    addCol("价格", 0, 2, style.clTextRise);
    addCol("现手", 40, 2, style.clTextVol);
    addCol("增仓", 40, 2, style.clTextName);
    addCol("开平", 40, 2, style.clTextVol);
}

std::string FutureStrikeDetailView::openCloseText(int dealType) {
    return dealType >= 1 && dealType <= int(OpenCloseTexts.size()) ? OpenCloseTexts[size_t(dealType - 1)]
                                                                   : "--";
}

std::string FutureStrikeDetailView::volumeText(const StkStrikeDetailItem &tick, const StockBasicInf &) const {
    return Util::FormatVolume(tick.dealVol, 5, 2);
}

void FutureStrikeDetailView::fillMore(ui::TableCell &cell, const StkStrikeDetailItem &tick) const {
    setCellText(cell, 3, base::str::format("%d", tick.incVol));
    setCellText(cell, 4, openCloseText(tick.dealType));
}
