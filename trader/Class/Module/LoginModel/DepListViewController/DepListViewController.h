#pragma once

#include "base/Value.h"
#include "ui/PickerView.h"
#include "ui/ViewController.h"

#include <string>

class CMWaitingAlertView;
class LoginView;

// The area and branch picker the login form opens in a popover: areas in the left column,
// the selected area's branches in the right. A choice goes straight into the form with its button
// title. An area whose branches were never asked for asks the form for them and waits; the form
// hands the rows over when they arrive.
class DepListViewController : public ui::ViewController {
public:
    static constexpr int column = 2;
    static constexpr float kColumnWidth = 160, kRowHeight = 34;

    DepListViewController();
    void setUp() override;
    void loadView() override;

    void setParentLoginHdl(base::Weak<LoginView> form) { m_parentLoginHdl = std::move(form); }
    void setSelectedAreaName(std::string name) { m_selectedAreaName = std::move(name); }
    void setSelectedDepCode(std::string code) { m_selectedDepCode = std::move(code); }
    void setSelectedDepName(std::string name) { m_selectedDepName = std::move(name); }
    // The form's area rows, shared with it.
    void SetAreaArray(const base::Array &areas) { m_areaArray = areas; }
    // A copy; none empties the column.
    void SetDepArray(const base::Array *deps);

    void UpdateAreaArray(const base::Array &areas, int areaIndex);
    // The branches of area `areaIndex` arrived; they show only while that area is selected, with
    // the branch of that code selected, or the first one chosen when there is no code.
    void UpdateDepArray(const base::Array &deps, const std::string &currentDepCode, int areaIndex);
    void StartWaitingAlert();
    void StopWaitingAlert();
    bool isWaiting() const;

    // A row chosen in a column.
    void didSelect(int row, int component);

    ui::PickerView &pickerView() { return *m_pickerView; }
    const base::Array &depArray() const { return m_depArray; }
    const std::string &selectedAreaName() const { return m_selectedAreaName; }

private:
    struct Wheels;

    void chooseDep(int row);

    base::Ref<ui::PickerView> m_pickerView;
    base::Ref<Wheels> m_wheels;
    base::Array m_areaArray;
    base::Array m_depArray;
    std::string m_selectedAreaName, m_selectedDepCode, m_selectedDepName;
    base::Ref<CMWaitingAlertView> m_waitingAlert;
    base::Weak<LoginView> m_parentLoginHdl;
};
