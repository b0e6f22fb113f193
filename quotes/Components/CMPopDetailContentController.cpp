#include "Components/CMPopDetailContentController.h"

#include "base/Str.h"

CMPopDetailContentController::CMPopDetailContentController(base::Ref<StockQuoteInf> info)
    : m_info(std::move(info)) {
    setContentSizeInPopover(CMPopoverDetailView::Size);
}

void CMPopDetailContentController::loadView() {
    setView(base::make<CMPopoverDetailView>());
}

void CMPopDetailContentController::viewDidLoad() {
    show();
}

CMPopoverDetailView &CMPopDetailContentController::detailView() {
    return static_cast<CMPopoverDetailView &>(view());
}

void CMPopDetailContentController::Update(const base::Ref<StockQuoteInf> &info) {
    if (!info)
        return;
    m_info = info;
    show();
}

void CMPopDetailContentController::show() {
    if (!m_info)
        return;
    detailView().nameLabel().setText(m_info->name);
    detailView().newPriceLabel().setText(base::str::format(NewPriceFormat, m_info->newprice));
}

void CMPopDetailContentController::Update(const base::Ref<StockQuoteInf> &info,
                                          const std::vector<base::Ref<StkMinLineItem>> &) {
    Update(info);
}
