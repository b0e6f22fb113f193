#include "Class/Module/ToolBarView/TradeSettingsView/TradeSettingsView.h"

#include "Class/Module/ToolBarView/TradeSettingsView/AutoLockView.h"

namespace {

base::Ref<gfx::Color> settingsBackground() {
    return gfx::Color::rgba(225 / 255.f, 228 / 255.f, 233 / 255.f);
}

} // namespace

struct TradeSettingsView::Relay : ui::TableDataSource, ui::TableDelegate {
    base::Weak<TradeSettingsView> panel;

    int numberOfSections(ui::TableView &) override {
        auto p = panel.lock();
        return p ? int(p->m_sectionArray.size()) : 0;
    }
    int numberOfRows(ui::TableView &, int) override {
        auto p = panel.lock();
        return p ? int(p->m_itemArray.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        base::Ref<ui::TableCell> cell = table.dequeueReusableCell(kCellIdentifier);
        if (!cell)
            cell = base::make<ui::TableCell>(ui::TableCell::Style::Default, kCellIdentifier);
        cell->setAccessoryType(ui::TableCell::Accessory::DisclosureIndicator);
        if (auto p = panel.lock(); p && size_t(path.row) < p->m_itemArray.size())
            cell->textLabel()->setText(p->m_itemArray[size_t(path.row)]);
        return cell;
    }
    base::Opt<std::string> titleForHeader(ui::TableView &, int section) override {
        auto p = panel.lock();
        return p && size_t(section) < p->m_sectionArray.size() ? p->m_sectionArray[size_t(section)]
                                                               : std::string();
    }
    base::Opt<std::string> titleForFooter(ui::TableView &, int) override { return std::string(); }
    base::Opt<float> heightForHeader(ui::TableView &, int) override { return kHeaderHeight; }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto p = panel.lock())
            p->didSelectRow(path);
        return {};
    }
};

void TradeSettingsView::initData() {
    m_sectionArray = {"安全"};
    m_itemArray = {"超时保护"};
}

void TradeSettingsView::initUI(gfx::Rect frame) {
    float w = frame.width(), h = frame.height();
    GenTitleBar({0, 0, w, kTitleBarHeight});
    closeButton()->addTarget(action("CloseAction", &TradeSettingsView::CloseAction), ui::TouchUpInside);
    zoomInButton()->setHidden(true);
    setBackgroundColor(settingsBackground());
    // The light grouped background takes a dark title.
    titleLabel()->setTextColor(gfx::Color::black());
    m_relay = base::make<Relay>();
    m_relay->panel = weakSelf<TradeSettingsView>();
    m_settingTableView =
        base::make<ui::TableView>(gfx::Rect{0, 43, w, h - 43}, ui::TableView::Style::Grouped);
    m_settingTableView->setBackgroundColor(gfx::Color::clear());
    m_settingTableView->dataSource = m_relay;
    m_settingTableView->delegate = m_relay;
    addSubview(m_settingTableView);
}

void TradeSettingsView::didSelectRow(ui::IndexPath path) {
    if (path.section != 0 || path.row != 0)
        return;
    auto lockView = base::make<AutoLockView>(gfx::Rect{0, 0, bounds().width(), bounds().height()});
    addSubview(lockView);
    m_autoLockView = lockView;
}
