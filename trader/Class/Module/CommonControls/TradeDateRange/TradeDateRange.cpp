#include "Class/Module/CommonControls/TradeDateRange/TradeDateRange.h"

#include "base/DateFormatter.h"
#include "gfx/Font.h"

#include <cmath>

namespace {

base::Ref<gfx::Color> dateButtonColor() {
    return gfx::Color::rgba(255 / 255.f, 185 / 255.f, 79 / 255.f);
}

} // namespace

base::Ref<TradeDateRange> TradeDateRange::create(ui::View &host, gfx::Point startButton, gfx::Point endButton,
                                                 gfx::Point calendars) {
    auto range = base::make<TradeDateRange>();
    range->build(host, startButton, endButton, calendars);
    return range;
}

std::string TradeDateRange::today() {
    return base::DateFormatter(kDisplayPattern).string(base::Date::now());
}

void TradeDateRange::build(ui::View &host, gfx::Point startButton, gfx::Point endButton,
                           gfx::Point calendars) {
    m_startDateBtn = makeButton(host, startButton);
    m_endDateBtn = makeButton(host, endButton);
    base::Weak<TradeDateRange> weak = weakSelf<TradeDateRange>();
    m_startDateBtn->addTarget(base::Action("startDateAction",
                                           [weak](base::Object *) {
                                               if (auto alive = weak.lock())
                                                   alive->startDateAction();
                                           }),
                              ui::TouchUpInside);
    m_endDateBtn->addTarget(base::Action("endDateAction",
                                         [weak](base::Object *) {
                                             if (auto alive = weak.lock())
                                                 alive->endDateAction();
                                         }),
                            ui::TouchUpInside);
    m_calendar = makeCalendar(host, calendars, kStartCaption);
    m_endCalendar = makeCalendar(host, calendars, kEndCaption);
}

base::Ref<ui::Button> TradeDateRange::makeButton(ui::View &host, gfx::Point origin) {
    auto button = ui::Button::custom({origin.x, origin.y, kButtonWidth, kButtonHeight});
    button->setBackgroundColor(dateButtonColor());
    button->setTitle(today());
    button->titleLabel().setTextAlignment(gfx::Align::Center);
    host.addSubview(button);
    return button;
}

base::Ref<CMCalendarMonthView> TradeDateRange::makeCalendar(ui::View &host, gfx::Point origin,
                                                            const char *caption) {
    base::Ref<CMCalendarMonthView> calendar = CMCalendarMonthView::create(true);
    gfx::Rect frame = calendar->frame();
    calendar->setFrame({origin.x, origin.y, frame.width(), frame.height()});
    calendar->setHidden(true);
    calendar->setBackgroundColor(gfx::Color::clear());
    calendar->delegate = std::static_pointer_cast<CMCalendarMonthViewDelegate>(self<TradeDateRange>());
    calendar->dataSource = std::static_pointer_cast<CMCalendarMonthViewDataSource>(self<TradeDateRange>());
    auto label = base::make<ui::Label>(gfx::Rect{0, 0, frame.width(), kCaptionHeight});
    label->setText(caption);
    label->setTextAlignment(gfx::Align::Center);
    label->setFont(gfx::Font::system(kCaptionFontSize));
    label->setBackgroundColor(gfx::Color::clear());
    calendar->addSubview(label);
    calendar->reload();
    host.addSubview(calendar);
    return calendar;
}

void TradeDateRange::startDateAction() {
    toggle(*m_calendar, *m_endCalendar);
}

void TradeDateRange::endDateAction() {
    toggle(*m_endCalendar, *m_calendar);
}

bool &TradeDateRange::openFlag(const CMCalendarMonthView &calendar) {
    return &calendar == m_calendar.get() ? m_startOpen : m_endOpen;
}

bool TradeDateRange::isOpen(const CMCalendarMonthView &calendar) const {
    return &calendar == m_calendar.get() ? m_startOpen : m_endOpen;
}

void TradeDateRange::toggle(CMCalendarMonthView &mine, CMCalendarMonthView &other) {
    base::Ref<TradeDateRange> keep = self<TradeDateRange>();
    if (m_currentCal == &other)
        close(other, false);
    if (!isOpen(mine)) {
        openFlag(mine) = true;
        m_currentCal = &mine;
        mine.setHidden(false);
        mine.setAlpha(0);
        ui::View::animate(kToggleSeconds, [&mine] { mine.setAlpha(1); });
    } else {
        close(mine, true);
    }
    if (auto d = delegate.lock())
        d->dateRangeCalendarToggled(*this);
}

void TradeDateRange::close(CMCalendarMonthView &calendar, bool animated) {
    openFlag(calendar) = false;
    if (!animated) {
        calendar.setAlpha(1);
        calendar.setHidden(true);
        return;
    }
    base::Weak<TradeDateRange> weak = weakSelf<TradeDateRange>();
    base::Weak<ui::View> fading = calendar.weakSelf<ui::View>();
    ui::View::animate(
        kToggleSeconds, [&calendar] { calendar.setAlpha(0); },
        [weak, fading](bool) {
            auto alive = weak.lock();
            auto view = fading.lock();
            // Opened again while fading: it stays.
            if (!alive || !view || alive->isOpen(static_cast<CMCalendarMonthView &>(*view)))
                return;
            view->setHidden(true);
            view->setAlpha(1);
        });
}

base::Opt<void> TradeDateRange::didSelectDate(CMCalendarMonthView &calendar, base::Date date) {
    // The calendar hands the day at midnight GMT.
    std::string text =
        base::DateFormatter(kDisplayPattern, base::Locale::current(), base::TimeZone::gmt()).string(date);
    if (&calendar == m_calendar.get())
        m_startDateBtn->setTitle(text);
    else if (&calendar == m_endCalendar.get())
        m_endDateBtn->setTitle(text);
    close(calendar, false);
    return {};
}

std::vector<bool> TradeDateRange::marksFromDate(CMCalendarMonthView &, base::Date from, base::Date to) {
    double days = std::round(to.secondsSince(from) / 86400.0) + 1;
    return std::vector<bool>(days > 0 ? size_t(days) : 0, false);
}

void TradeDateRange::setDates(const std::string &start, const std::string &end) {
    m_startDateBtn->setTitle(start);
    m_endDateBtn->setTitle(end);
}

void TradeDateRange::setButtonsHidden(bool hidden) {
    m_startDateBtn->setHidden(hidden);
    m_endDateBtn->setHidden(hidden);
}
