#pragma once

#include "ui/Alert.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <optional>
#include <string>
#include <vector>

// The look and plumbing the settings popover's table screens share: a grey screen of 320 × 510
// with a grouped table that fills it below its top and scrolls when the popover is shorter, section headers
// of 30 points titled by `sectionArray`, plain 44-point rows, and the alerts the screen asks with, answered
// through alertAnswered. A screen says what its rows show and what a tap does.
class SettingsTableController : public ui::ViewController {
public:
    static constexpr gfx::Size kContentSize{320, 510};
    static constexpr float kHeaderHeight = 30, kRowHeight = 44;
    static constexpr const char *kCellIdentifier = "genneralCell";

    ~SettingsTableController() override;
    void setUp() override;
    void loadView() override;

    ui::TableView &mTableView() { return *m_tableView; }
    std::vector<std::string> sectionArray;

protected:
    // The table starts `tableTop` points down the screen.
    explicit SettingsTableController(float tableTop = 0) : m_tableTop(tableTop) {}

    virtual int rowCount(int section) const = 0;
    // A plain cell with the row's text; screens with cells of their own override it.
    virtual base::Ref<ui::TableCell> cellFor(ui::TableView &table, ui::IndexPath path);
    virtual std::string rowText(ui::IndexPath) const { return {}; }
    virtual bool rowDiscloses(ui::IndexPath) const { return false; }
    virtual void rowSelected(ui::IndexPath) {}
    virtual std::string footerText(int) const { return {}; }
    // The answer to an alert this screen showed.
    virtual void alertAnswered(ui::Alert &, int) {}

    // Shows an alert whose answer comes to alertAnswered.
    void showAlert(const std::string &title, const std::string &message, std::optional<std::string> cancel,
                   std::vector<std::string> others, int tag);

private:
    struct Rows;
    struct Choices;
    struct Answers;

    float m_tableTop;
    base::Ref<ui::TableView> m_tableView;
    base::Ref<Rows> m_rows;
    base::Ref<Choices> m_choices;
    base::Ref<Answers> m_answers;
};
