#pragma once

#include "base/Date.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <array>
#include <functional>
#include <optional>
#include <vector>

// The day grid of one month: whole weeks from the week's first day, the neighbouring months'
// days in grey, marks under marked days, today's cell, and a highlight on the selected day. It
// tracks touches and tells its target the touched day: [day] for a day of its month at once,
// [day, portion] (0 previous, 1 this, 2 next month) for a grey day when the finger lifts.
class CMCalendarMonthTiles : public ui::View {
public:
    static constexpr float CellWidth = 46, CellHeight = 44, TileWidth = 47, TileHeight = 45, Width = 320;
    static constexpr float CellTop = 6, TodayLift = 7, MarkGap = 7;

    // The first and the last grid date of the month holding the date, midnight GMT.
    static std::array<base::Date, 2> rangeOfDatesInMonthGrid(base::Date date, bool startOnSunday);

    // The grid of the month starting at monthDate (midnight GMT on the 1st), with one mark flag
    // per cell from the first grid date; missing flags are no marks.
    static base::Ref<CMCalendarMonthTiles> create(base::Date monthDate, std::vector<bool> marks,
                                                  bool startOnSunday);

    using Action = std::function<void(const std::vector<int> &)>;
    // The action runs only while the target lives.
    void setTarget(base::Weak<base::Object> target, Action action);

    // The drawing rectangle of cell i, counted row by row from the first grid date.
    static gfx::Rect rectForCellAtIndex(int index);
    // Selects a day of the month without telling the target.
    void selectDay(int day);
    // The selected day of the month at midnight GMT; nothing when none is selected.
    std::optional<base::Date> dateSelected() const;

    base::Date monthDate() const { return monthDate_; }
    int firstWeekday() const { return firstWeekday_; }
    int daysInMonth() const { return daysInMonth_; }
    int firstOfPrev() const { return firstOfPrev_; }
    int lastOfPrev() const { return lastOfPrev_; }
    int today() const { return today_; }
    int selectedDay() const { return selectedDay_; }
    int selectedPortion() const { return selectedPortion_; }
    // The number of previous-month days in the first row.
    int leadingDays() const { return firstOfPrev_ < 0 ? 0 : lastOfPrev_ - firstOfPrev_ + 1; }
    int rows() const;
    ui::ImageView &selectedImageView();
    ui::Label &currentDay();
    ui::Label &dot();

    void drawRect(gfx::Context &context, gfx::Rect dirty) override;
    void touchesBegan(const ui::TouchSet &touches, const ui::Event &event) override;
    void touchesMoved(const ui::TouchSet &touches, const ui::Event &event) override;
    void touchesEnded(const ui::TouchSet &touches, const ui::Event &event) override;

protected:
    CMCalendarMonthTiles(base::Date monthDate, std::vector<bool> marks, bool startOnSunday);

private:
    enum Portion { Previous = 0, This = 1, Next = 2 };

    bool marked(int cell) const { return cell >= 0 && size_t(cell) < marks_.size() && marks_[size_t(cell)]; }
    void drawTileInRect(gfx::Context &context, gfx::Rect rect, int day, bool mark, const gfx::Font &font,
                        const gfx::Font &font2) const;
    // Makes the highlight with its day and mark labels, once.
    void makeHighlight();
    // Moves the highlight onto the cell at column c, row r, showing day n of the portion.
    void showHighlight(int c, int r, int n, int portion);
    void reactToTouch(const ui::Touch &touch, bool down);

    base::Date monthDate_;
    std::vector<bool> marks_;
    bool startOnSunday_;
    int firstWeekday_ = 1, daysInMonth_ = 0;
    int firstOfPrev_ = -1, lastOfPrev_ = 0;
    int today_ = 0;
    int selectedDay_ = 0, selectedPortion_ = 0;
    bool markWasOnToday_ = false;
    base::Ref<ui::ImageView> selectedImageView_;
    base::Ref<ui::Label> currentDay_, dot_;
    base::Weak<base::Object> target_;
    Action action_;
};
