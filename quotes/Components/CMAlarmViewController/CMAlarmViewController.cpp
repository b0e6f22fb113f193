#include "Components/CMAlarmViewController/CMAlarmViewController.h"

#include "Components/CMAlarmViewController/CMAlarmEditViewController.h"
#include "Module/NavToolBarModule/SearchMyStockPopover/StockSearchRule.h"

#include "Common/Util.h"
#include "base/Str.h"
#include "ui/NavigationController.h"

namespace {

// Left bar: the two list buttons side by side.
constexpr float kListButtonWidth = 50, kListButtonHeight = 30, kListButtonGap = 5;

} // namespace

CMAlarmViewController::~CMAlarmViewController() = default;

void CMAlarmViewController::setUp() {
    ui::ViewController::setUp();
    initData();
}

void CMAlarmViewController::initData() {
    setContentSizeInPopover(kContentSize);
    m_alarmData = StockAlarmData::create(kObserverName);
    m_alarmData->setDelegate(weakSelf<CMAlarmViewController>());
    m_isEditMode = false;
}

void CMAlarmViewController::viewDidLoad() {
    initUI();
}

void CMAlarmViewController::initUI() {
    setTitle(kTitle);
    // The bar holds one item a side: the two list buttons share the left one.
    auto buttons =
        base::make<ui::View>(gfx::Rect{0, 0, 2 * kListButtonWidth + kListButtonGap, kListButtonHeight});
    base::Weak<CMAlarmViewController> weak = weakSelf<CMAlarmViewController>();
    for (auto [tag, title] : {std::pair{int(CurrentTag), "预警"}, std::pair{int(HistoryTag), "历史"}}) {
        base::Ref<ui::BarButtonItem> item =
            ui::BarButtonItem::titled(title, ui::BarButtonItem::Style::Bordered,
                                      base::Action(weak, "leftEditAction", [weak, tag](base::Object *) {
                                          if (auto self = weak.lock())
                                              self->leftEditAction(tag);
                                      }));
        base::Ref<ui::View> button = item->view();
        button->tag = tag;
        button->setFrame(
            {(tag - 1) * (kListButtonWidth + kListButtonGap), 0, kListButtonWidth, kListButtonHeight});
        buttons->addSubview(button);
        // The drawn button lives as long as its item.
        m_listItems.push_back(item);
    }
    navigationItem().setLeftItem(ui::BarButtonItem::custom(buttons));
    navigationItem().setRightItem(ui::BarButtonItem::titled(kEditTitle, ui::BarButtonItem::Style::Bordered,
                                                            BASE_ACTION(this, editAction)));
    m_alarmView = base::make<CMAlarmView>(gfx::Rect{0, 0, kContentSize.w, kContentSize.h});
    m_alarmView->delegate = weakSelf<CMAlarmViewController>();
    view().addSubview(m_alarmView);
}

void CMAlarmViewController::viewWillAppear(bool) {
    if (!m_alarmView->isHidden())
        m_alarmData->reqCurrentAlarmArray();
    else if (m_alarmDoneView && !m_alarmDoneView->isHidden())
        m_alarmData->reqHistoryAlarmArray();
}

void CMAlarmViewController::showHistory(bool shown) {
    if (!m_alarmDoneView) {
        m_alarmDoneView = base::make<CMAlarmDoneView>(m_alarmView->frame());
        view().addSubview(m_alarmDoneView);
    }
    m_alarmView->setHidden(shown);
    m_alarmDoneView->setHidden(!shown);
}

void CMAlarmViewController::leftEditAction(int tag) {
    if (tag == CurrentTag) {
        showHistory(false);
        m_alarmData->reqCurrentAlarmArray();
    } else if (tag == HistoryTag) {
        showHistory(true);
        m_alarmData->reqHistoryAlarmArray();
    }
}

void CMAlarmViewController::editAction() {
    m_isEditMode = !m_isEditMode;
    navigationItem().setRightItem(ui::BarButtonItem::titled(m_isEditMode ? kDoneTitle : kEditTitle,
                                                            ui::BarButtonItem::Style::Bordered,
                                                            BASE_ACTION(this, editAction)));
    m_alarmView->setEditMode(m_isEditMode);
    if (!m_isEditMode && !m_alarmView->getNeedDeleteAlarmIDArray().empty())
        m_alarmData->reqDeleteAlarmArray(m_alarmView->getNeedDeleteAlarmIDArray());
}

base::Array CMAlarmViewController::getSearchResult(const std::string &text) {
    return StockSearchRule::search(text, StockSearchRule::AlarmSearch);
}

base::Opt<void> CMAlarmViewController::didSearchWord(const std::string &text) {
    base::Array rows;
    if (!text.empty())
        for (const base::Value &result : getSearchResult(text)) {
            std::string code = result["code"].stringValue();
            rows.add(
                base::Dict{{"NAME", base::str::format("%@        %@", code, result["name"].stringValue())},
                           {"KEY", code}});
        }
    m_alarmView->setResultsArray(rows);
    return {};
}

base::Opt<void> CMAlarmViewController::addStockAlarmAction(const std::string &code, bool isAddAlarm,
                                                           int32_t alarmID, const base::Value &alarmDict) {
    auto form = base::make<CMAlarmEditViewController>();
    form->setStockCode(code, isAddAlarm, alarmID, alarmDict);
    if (ui::NavigationController *nav = navigationController())
        nav->push(form, true);
    return {};
}

base::Opt<void> CMAlarmViewController::updateCurrentAlarmArray(const base::Array &alarms) {
    m_alarmView->setDataArray(alarms);
    return {};
}

base::Opt<void> CMAlarmViewController::updateCurrentAlarmFail(const Message &message) {
    if (message && !message->empty())
        Util::ShowInfoBox(base::str::format("查询预警列表失败！原因：%@", *message));
    return {};
}

base::Opt<void> CMAlarmViewController::updateHistoryAlarmArray(const base::Array &alarms) {
    if (!m_alarmDoneView)
        showHistory(false);
    m_alarmDoneView->setDataArray(alarms);
    return {};
}

base::Opt<void> CMAlarmViewController::updateHistoryAlarmFail(const Message &message) {
    if (message && !message->empty())
        Util::ShowInfoBox(base::str::format("查询历史预警失败！原因：%@", *message));
    return {};
}

base::Opt<void> CMAlarmViewController::updateDeleteAlarmSuccess() {
    m_alarmData->reqCurrentAlarmArray();
    return {};
}

base::Opt<void> CMAlarmViewController::updateDeleteAlarmFail(const Message &message) {
    Util::ShowInfoBox(base::str::format("删除预警失败！原因：%@", message.value_or("")));
    // The rows removed on screen may still be on the server.
    m_alarmData->reqCurrentAlarmArray();
    return {};
}
