#pragma once

#include "Components/CMCalendarMonthTiles.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <optional>
#include <vector>

class CMCalendarMonthView;

// Marks the days of a grid: one flag per cell from the first to the last grid date inclusive.
// An empty answer marks nothing.
class CMCalendarMonthViewDataSource {
public:
    virtual ~CMCalendarMonthViewDataSource() = default;
    virtual std::vector<bool> marksFromDate(CMCalendarMonthView &calendar, base::Date from,
                                            base::Date to) = 0;
};

// What the owner of a calendar hears. Both optional.
class CMCalendarMonthViewDelegate {
public:
    virtual ~CMCalendarMonthViewDelegate() = default;
    // The user touched a day of the shown month; the date is that day at midnight GMT.
    virtual base::Opt<void> didSelectDate(CMCalendarMonthView &calendar, base::Date date) {
        (void)calendar, (void)date;
        return base::notImplemented;
    }
    // The shown month changed: after an arrow, the new month's first day; after a tap on a grey
    // day, that day of the new month at the device's time of day of the month's midnight GMT.
    virtual base::Opt<void> monthDidChange(CMCalendarMonthView &calendar, base::Date date) {
        (void)calendar, (void)date;
        return base::notImplemented;
    }
};

// A date picker showing one month: a title bar with the month and year between two arrows, the
// weekday names, and the day grid. An arrow or a tap on a grey day slides the neighbouring month
// in over 0.4 s, during which the calendar takes no touches. 320 points wide, 44 plus the grid
// high. The trade query screens pick their start and end dates with it.
class CMCalendarMonthView : public ui::View {
public:
    static constexpr float Width = 320, TopHeight = 44, ShadowOverlap = 21;
    static constexpr double SwitchSeconds = 0.4;

    static base::Ref<CMCalendarMonthView> create(bool sundayFirst = true);

    // Rebuilds the shown month's grid with fresh marks; the selection is dropped.
    void reload();
    // Shows the date's month (in the device's zone) without animation or report, and selects its day.
    void selectDate(base::Date date);
    std::optional<base::Date> dateSelected() const { return currentTile_->dateSelected(); }
    base::Date monthDate() const { return currentTile_->monthDate(); }

    base::Weak<CMCalendarMonthViewDelegate> delegate;
    base::Weak<CMCalendarMonthViewDataSource> dataSource;

    CMCalendarMonthTiles &currentTile() { return *currentTile_; }
    CMCalendarMonthTiles *oldTile() { return oldTile_.get(); }
    ui::View &tileBox() { return *tileBox_; }
    ui::Label &monthYear() { return *monthYear_; }
    ui::ImageView &shadow() { return *shadow_; }
    ui::Button &leftArrow() { return *leftArrow_; }
    ui::Button &rightArrow() { return *rightArrow_; }
    const std::vector<base::Ref<ui::Label>> &weekdayLabels() const { return weekdays_; }

protected:
    explicit CMCalendarMonthView(bool sundayFirst);

private:
    void initWithSundayAsFirst();
    base::Ref<CMCalendarMonthTiles> makeTile(base::Date month);
    void changeMonth(ui::Button *sender);
    void changeMonthAnimation(bool forward);
    void animationEnded();
    void tile(const std::vector<int> &selection);
    void setTitle(base::Date month);
    void fitToTile();

    bool sunday_;
    base::Ref<CMCalendarMonthTiles> currentTile_, oldTile_;
    base::Ref<ui::Button> leftArrow_, rightArrow_;
    base::Ref<ui::ImageView> topBackground_, shadow_;
    base::Ref<ui::Label> monthYear_;
    base::Ref<ui::View> tileBox_;
    std::vector<base::Ref<ui::Label>> weekdays_;
};
