#pragma once

#include "base/Value.h"
#include "ui/ImageView.h"
#include "ui/TableView.h"
#include "ui/View.h"

#include <functional>

// A one-column menu: one row per entry of a list of dictionaries, titled by "MENU_NAME", with a
// disclosure arrow where "HasSubMenu" is true. Choosing a row hands its whole entry to the
// receiver the owner set; the row stays selected. The market lists' switch and sub-menu popovers
// fill themselves with one.
class CMTableView : public ui::View {
public:
    static constexpr float DefaultRowHeight = 44;
    static constexpr const char *CellIdentifier = "grenresIdentifier";

    static base::Ref<CMTableView> create(gfx::Rect frame);

    // Keeps the list (an array of dictionaries) and shows it.
    void setTableDataArray(base::Value rows);
    const base::Value &tableDataArray() const { return tableDataArray_; }
    void setTableRowWithHeight(float height);
    float tableRowHeight() const { return tableRowHeight_; }
    // Keeps each one that is given.
    void setTitleFont(base::Ref<gfx::Font> font, base::Ref<gfx::Color> textColor);
    // The selected row's background.
    void setCellBackgroundImage(base::Ref<gfx::Image> image) { cellSelectedImage_ = std::move(image); }
    // A picture filling the menu beneath the rows.
    void setBackgroundImage(base::Ref<gfx::Image> image);
    // The chosen entry goes to the action while the target lives.
    using Action = std::function<void(const base::Value &entry)>;
    void setRetDataActionTarget(base::Weak<base::Object> target, Action action);

    ui::TableView &categoryTableView() { return *categoryTableView_; }

protected:
    explicit CMTableView(gfx::Rect frame);

private:
    struct Rows;
    struct Choices;

    void initUI();
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, int row);
    void didSelectRow(int row);

    base::Ref<ui::TableView> categoryTableView_;
    base::Ref<Rows> rows_;
    base::Ref<Choices> choices_;
    base::Ref<ui::ImageView> backgroundImage_;
    base::Value tableDataArray_;
    float tableRowHeight_ = DefaultRowHeight;
    base::Ref<gfx::Font> categoryTitleFont_;
    base::Ref<gfx::Color> categoryTitleColor_;
    base::Ref<gfx::Image> cellSelectedImage_;
    base::Weak<base::Object> target_;
    Action action_;
};
