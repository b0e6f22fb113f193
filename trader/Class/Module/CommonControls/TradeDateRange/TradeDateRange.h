#pragma once

#include "Components/CMCalendarMonthView.h"

#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <string>

class TradeDateRange;

// What the owner of a date row hears; optional.
class TradeDateRangeDelegate {
public:
    virtual ~TradeDateRangeDelegate() = default;
    // A date button opened or closed its calendar: the owner empties its page text, since the
    // range on the buttons may no longer be the one on show.
    virtual base::Opt<void> dateRangeCalendarToggled(TradeDateRange &range) {
        (void)range;
        return base::notImplemented;
    }
};

// The date row of the trade query screens (orders, deals, bank transfers, in a panel or full
// screen): a start-date and an end-date button, each titled with its date as "yyyy-MM-dd" (today
// when built), and one month calendar per button, hidden until its button is pressed.
//
// A date button closes the other calendar if that was opened last, then opens or closes its own
// over 0.75 s (the calendar fades; a closing one stays visible until the fade ends). A day tapped
// in a calendar becomes its button's title and the calendar closes at once. Nothing here queries:
// the owner's search reads startDate() and endDate(). No day of a calendar is marked, and a change
// of month changes nothing.
//
// The row adds its controls to the host view when made: make it after the host's table, so the
// calendars lie over the table.
class TradeDateRange : public base::Object,
                       public CMCalendarMonthViewDelegate,
                       public CMCalendarMonthViewDataSource {
public:
    static constexpr double kToggleSeconds = 0.75;
    static constexpr float kButtonWidth = 100, kButtonHeight = 28;
    static constexpr float kCaptionHeight = 10, kCaptionFontSize = 8;
    static constexpr const char *kStartCaption = "开始查询日期";
    static constexpr const char *kEndCaption = "结束查询日期";
    static constexpr const char *kDisplayPattern = "yyyy-MM-dd";

    // The buttons at their top-left corners, the two calendars at one origin, all inside `host`.
    static base::Ref<TradeDateRange> create(ui::View &host, gfx::Point startButton, gfx::Point endButton,
                                            gfx::Point calendars);

    // Today in the device's zone, as the buttons show dates.
    static std::string today();

    void startDateAction();
    void endDateAction();

    std::string startDate() const { return m_startDateBtn->currentTitle(); }
    std::string endDate() const { return m_endDateBtn->currentTitle(); }
    // Puts the dates ("yyyy-MM-dd") on the buttons without a query.
    void setDates(const std::string &start, const std::string &end);
    // Hides or shows both buttons (a calendar open stays as it is).
    void setButtonsHidden(bool hidden);

    ui::Button &startDateBtn() { return *m_startDateBtn; }
    ui::Button &endDateBtn() { return *m_endDateBtn; }
    CMCalendarMonthView &calendar() { return *m_calendar; }
    CMCalendarMonthView &endCalendar() { return *m_endCalendar; }
    // The calendar opened last, or nullptr.
    CMCalendarMonthView *currentCal() const { return m_currentCal; }
    // Whether the calendar is open (also while it is still fading in).
    bool isOpen(const CMCalendarMonthView &calendar) const;

    base::Weak<TradeDateRangeDelegate> delegate;

    base::Opt<void> didSelectDate(CMCalendarMonthView &calendar, base::Date date) override;
    base::Opt<void> monthDidChange(CMCalendarMonthView &, base::Date) override { return {}; }
    std::vector<bool> marksFromDate(CMCalendarMonthView &calendar, base::Date from, base::Date to) override;

private:
    void build(ui::View &host, gfx::Point startButton, gfx::Point endButton, gfx::Point calendars);
    base::Ref<ui::Button> makeButton(ui::View &host, gfx::Point origin);
    base::Ref<CMCalendarMonthView> makeCalendar(ui::View &host, gfx::Point origin, const char *caption);
    // Opens the calendar if it is closed, else closes it; the other one closes first when it was
    // the one opened last.
    void toggle(CMCalendarMonthView &mine, CMCalendarMonthView &other);
    void close(CMCalendarMonthView &calendar, bool animated);
    bool &openFlag(const CMCalendarMonthView &calendar);

    base::Ref<ui::Button> m_startDateBtn, m_endDateBtn;
    base::Ref<CMCalendarMonthView> m_calendar, m_endCalendar;
    CMCalendarMonthView *m_currentCal = nullptr;
    bool m_startOpen = false, m_endOpen = false;
};
