#include "Class/Module/ToolBarView/TradeSettingsView/AutoLockView.h"

#include "DataBase/TradeDataBase/TradeMsgCenter.h"

#include "base/Bundle.h"
#include "base/PropertyList.h"

#include <cmath>

namespace {

constexpr unsigned kOwnerOnly = 0600;
constexpr int kChoiceCount = int(std::size(AutoLockView::kChoices));

// The settings file's dictionary: the documents copy, else the bundle's; empty when neither reads.
base::Dict readSettings() {
    std::optional<base::Value> read =
        base::PropertyList::read(TradeMsgCenter::dataFilePath(TradeMsgCenter::kSettingsFile));
    if (!read || !read->dict())
        if (auto bundled = base::Bundle::main().pathFor(TradeMsgCenter::kSettingsName, "plist"))
            read = base::PropertyList::read(*bundled);
    return read && read->dict() ? read->dict()->copy() : base::Dict();
}

} // namespace

struct AutoLockView::Relay : ui::TableDataSource, ui::TableDelegate {
    base::Weak<AutoLockView> panel;

    int numberOfRows(ui::TableView &, int) override { return kChoiceCount; }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        base::Ref<ui::TableCell> cell = table.dequeueReusableCell(kCellIdentifier);
        if (!cell)
            cell = base::make<ui::TableCell>(ui::TableCell::Style::Default, kCellIdentifier);
        if (path.row >= 0 && path.row < kChoiceCount)
            cell->textLabel()->setText(kChoices[path.row].item);
        auto p = panel.lock();
        cell->setAccessoryType(p && p->m_currentSelRow == path.row ? ui::TableCell::Accessory::Checkmark
                                                                   : ui::TableCell::Accessory::None);
        return cell;
    }
    base::Opt<float> heightForHeader(ui::TableView &, int) override { return kHeaderHeight; }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto p = panel.lock())
            p->didSelectRow(path.row);
        return {};
    }
};

int AutoLockView::rowOf(const base::Value *stored) {
    if (!stored || !stored->isNumber() || stored->doubleValue() <= 0)
        return kChoiceCount - 1;
    for (int row = 0; row < kChoiceCount; ++row)
        if (double(kChoices[row].minutes) == stored->doubleValue())
            return row;
    return -1;
}

void AutoLockView::initData() {
    m_settingsDict = readSettings();
    const base::Value *stored = m_settingsDict.find(kLockTimeKey);
    m_currentSelRow = rowOf(stored);
    m_currentLockMin =
        m_currentSelRow >= 0 ? kChoices[m_currentSelRow].minutes : int(std::lround(stored->doubleValue()));
}

void AutoLockView::initUI(gfx::Rect frame) {
    float w = frame.width(), h = frame.height();
    GenTitleBar({0, 0, w, kTitleBarHeight});
    setTitle("超时保护");
    closeButton()->addTarget(action("backAction", &AutoLockView::backAction), ui::TouchUpInside);
    zoomInButton()->setHidden(true);
    setBackgroundColor(gfx::Color::rgba(225 / 255.f, 228 / 255.f, 233 / 255.f));
    // The light grouped background takes a dark title.
    titleLabel()->setTextColor(gfx::Color::black());
    m_relay = base::make<Relay>();
    m_relay->panel = weakSelf<AutoLockView>();
    m_autoLockTableView = base::make<ui::TableView>(gfx::Rect{0, kTitleBarHeight, w, h - kTitleBarHeight},
                                                    ui::TableView::Style::Grouped);
    m_autoLockTableView->setBackgroundColor(gfx::Color::clear());
    m_autoLockTableView->dataSource = m_relay;
    m_autoLockTableView->delegate = m_relay;
    addSubview(m_autoLockTableView);
}

void AutoLockView::didSelectRow(int row) {
    if (row < 0 || row >= kChoiceCount)
        return;
    m_currentLockMin = kChoices[row].minutes;
    TradeMsgCenter::sharedTradeMsgCenter()->setLockTimeMinute(m_currentLockMin);
    m_currentSelRow = row;
    m_settingsDict.remove(kLockTimeKey);
    m_settingsDict.set(kLockTimeKey, base::Value(int64_t(m_currentLockMin)));
    // A failed write is not the user's concern here: the lock time holds for this run all the same.
    base::PropertyList::write(m_settingsDict, TradeMsgCenter::dataFilePath(TradeMsgCenter::kSettingsFile),
                              kOwnerOnly);
    m_autoLockTableView->reloadData();
}
