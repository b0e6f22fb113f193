#include "Module/NavToolBarModule/SettingsViewController/SettingsTableController.h"

#include "gfx/Color.h"

struct SettingsTableController::Rows : ui::TableDataSource {
    base::Weak<SettingsTableController> screen;

    int numberOfSections(ui::TableView &) override {
        auto s = screen.lock();
        return s ? int(s->sectionArray.size()) : 0;
    }
    int numberOfRows(ui::TableView &, int section) override {
        auto s = screen.lock();
        return s ? s->rowCount(section) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        return screen.lock()->cellFor(table, path);
    }
    base::Opt<std::string> titleForHeader(ui::TableView &, int section) override {
        auto s = screen.lock();
        return s && section < int(s->sectionArray.size()) ? s->sectionArray[size_t(section)] : std::string();
    }
    base::Opt<std::string> titleForFooter(ui::TableView &, int section) override {
        auto s = screen.lock();
        return s ? s->footerText(section) : std::string();
    }
};

struct SettingsTableController::Choices : ui::TableDelegate {
    base::Weak<SettingsTableController> screen;

    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return kRowHeight; }
    base::Opt<float> heightForHeader(ui::TableView &, int) override { return kHeaderHeight; }
    base::Opt<void> didSelectRow(ui::TableView &table, ui::IndexPath path) override {
        table.deselectRow(path, true);
        if (auto s = screen.lock())
            s->rowSelected(path);
        return {};
    }
};

struct SettingsTableController::Answers : ui::AlertDelegate {
    base::Weak<SettingsTableController> screen;

    base::Opt<void> clicked(ui::Alert &alert, int index) override {
        if (auto s = screen.lock())
            s->alertAnswered(alert, index);
        return {};
    }
};

SettingsTableController::~SettingsTableController() = default;

void SettingsTableController::setUp() {
    ui::ViewController::setUp();
    m_rows = base::make<Rows>();
    m_choices = base::make<Choices>();
    m_answers = base::make<Answers>();
    m_rows->screen = m_choices->screen = m_answers->screen = weakSelf<SettingsTableController>();
    // The table fills the screen below its top and follows the screen's size: in a popover
    // shorter than the rows it scrolls, so the last rows can still be reached.
    m_tableView = base::make<ui::TableView>(
        gfx::Rect{0, m_tableTop, kContentSize.w, kContentSize.h - m_tableTop}, ui::TableView::Style::Grouped);
    m_tableView->autoresizingMask = ui::FlexibleWidth | ui::FlexibleHeight;
    m_tableView->setBackgroundColor(gfx::Color::clear());
    m_tableView->rowHeight = kRowHeight;
    m_tableView->sectionHeaderHeight = kHeaderHeight;
    m_tableView->dataSource = m_rows;
    m_tableView->delegate = m_choices;
    setContentSizeInPopover(kContentSize);
}

void SettingsTableController::loadView() {
    ui::ViewController::loadView();
    view().setFrame({{0, 0}, kContentSize});
    view().setBackgroundColor(gfx::Color::rgba(225 / 255.f, 228 / 255.f, 233 / 255.f));
    view().addSubview(m_tableView);
}

base::Ref<ui::TableCell> SettingsTableController::cellFor(ui::TableView &table, ui::IndexPath path) {
    base::Ref<ui::TableCell> cell = table.dequeueReusableCell(kCellIdentifier);
    if (!cell)
        cell = base::make<ui::TableCell>(ui::TableCell::Style::Default, kCellIdentifier);
    cell->textLabel()->setText(rowText(path));
    cell->setAccessoryType(rowDiscloses(path) ? ui::TableCell::Accessory::DisclosureIndicator
                                              : ui::TableCell::Accessory::None);
    return cell;
}

void SettingsTableController::showAlert(const std::string &title, const std::string &message,
                                        std::optional<std::string> cancel, std::vector<std::string> others,
                                        int tag) {
    auto alert = base::make<ui::Alert>(title, message, m_answers, std::move(cancel), std::move(others));
    alert->tag = tag;
    alert->show();
}
