#pragma once

#include "Module/DetailShowPanel/SearchStockListController.h"
#include "ui/Popover.h"

#include <functional>

// The hit list of an overlay search field in its popover, made on the first search and reused:
// the detail screen's tab strip and the full-screen chart's tool bar each hold one. The list
// reports picks to the owner; a tap outside closes the popover and calls `onOutsideTap`.
class OverlaySearchPopover {
public:
    OverlaySearchPopover(base::Weak<SearchStockListControllerDelegate> listDelegate,
                         std::function<void()> onOutsideTap);

    // The rows (even none) in the popover under the field, arrow up.
    void show(const base::Array &rows, ui::View &field);
    void dismiss();

    // Null before the first search.
    SearchStockListController *list() const { return m_list.get(); }
    ui::Popover *popover() const { return m_popover.get(); }

private:
    struct Relay;
    base::Weak<SearchStockListControllerDelegate> m_listDelegate;
    base::Ref<Relay> m_relay;
    base::Ref<SearchStockListController> m_list;
    base::Ref<ui::Popover> m_popover;
};
