#include "Module/DetailShowPanel/OverlaySearchPopover.h"

struct OverlaySearchPopover::Relay : ui::PopoverDelegate {
    std::function<void()> onOutsideTap;

    base::Opt<void> didDismiss(ui::Popover &) override {
        if (onOutsideTap)
            onOutsideTap();
        return {};
    }
};

OverlaySearchPopover::OverlaySearchPopover(base::Weak<SearchStockListControllerDelegate> listDelegate,
                                           std::function<void()> onOutsideTap)
    : m_listDelegate(std::move(listDelegate)), m_relay(base::make<Relay>()) {
    m_relay->onOutsideTap = std::move(onOutsideTap);
}

void OverlaySearchPopover::show(const base::Array &rows, ui::View &field) {
    if (!m_popover) {
        m_list = base::make<SearchStockListController>();
        m_list->delegate = m_listDelegate;
        m_popover = base::make<ui::Popover>(m_list);
        m_popover->delegate = m_relay;
    }
    m_list->SetTableDataArray(rows);
    m_popover->presentFromRect(field.bounds(), field, ui::ArrowUp, true);
}

void OverlaySearchPopover::dismiss() {
    if (m_popover && m_popover->isVisible())
        m_popover->dismiss(true);
}
