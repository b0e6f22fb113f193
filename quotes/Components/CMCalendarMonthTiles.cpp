#include "Components/CMCalendarMonthTiles.h"

#include "Components/CMDateInformation.h"
#include "Components/CMGlobal.h"
#include "base/Clock.h"
#include "base/Str.h"
#include "gfx/Text.h"

#include <cmath>

namespace {

const char *const TilePicture = "MonthCalendar.bundle/Images/calendar/Month Calendar Date Tile.png";
const char *const TodayPicture = "MonthCalendar.bundle/Images/calendar/Month Calendar Today Tile.png";
const char *const HighlightName = "MonthCalendar.bundle/Images/calendar/Month Calendar Date Tile Selected";
const char *const SelectedPicture =
    "MonthCalendar.bundle/Images/calendar/Month Calendar Date Tile Selected.png";
const char *const TodaySelectedPicture =
    "MonthCalendar.bundle/Images/calendar/Month Calendar Today Selected Tile.png";
const char *const GreyPicture = "MonthCalendar.bundle/Images/calendar/Month Calendar Date Tile Gray.png";

base::Ref<gfx::Color> dayColour() {
    return gfx::Color::rgba(59.f / 255, 73.f / 255, 88.f / 255, 1);
}

base::Ref<gfx::Image> bundlePicture(const char *name) {
    return gfx::Image::fromFile(CMGlobal::fullBundlePath(name));
}

// Day `day` of the GMT month of `month`, midnight GMT.
base::Date dayOf(base::Date month, int day) {
    CMDateInformation info = CMDate::dateInformation(month, base::TimeZone::gmt());
    info.day = day;
    info.hour = info.minute = info.second = 0;
    return CMDate::dateFromDateInformation(info, base::TimeZone::gmt());
}

int gmtWeekday(base::Date date) {
    return CMDate::dateInformation(date, base::TimeZone::gmt()).weekday;
}

} // namespace

std::array<base::Date, 2> CMCalendarMonthTiles::rangeOfDatesInMonthGrid(base::Date date, bool startOnSunday) {
    const base::Date first = CMDate::firstOfMonth(date);
    const int w = gmtWeekday(first);
    const base::Date previous = CMDate::previousMonth(first), next = CMDate::nextMonth(first);
    const int daysBefore = CMDate::daysBetweenDate(previous, first);
    const int days = CMDate::daysBetweenDate(first, next);

    base::Date start = first;
    if (startOnSunday && w != 1)
        start = dayOf(previous, daysBefore - w + 2);
    else if (!startOnSunday && w != 2)
        start = dayOf(previous, w == 1 ? daysBefore - 5 : daysBefore - w + 3);

    const base::Date last = dayOf(first, days);
    const int lastWeekday = gmtWeekday(last);
    base::Date end = last;
    if (startOnSunday && lastWeekday != 7)
        end = dayOf(next, 7 - lastWeekday);
    else if (!startOnSunday && lastWeekday != 1)
        end = dayOf(next, 8 - lastWeekday);
    return {start, end};
}

base::Ref<CMCalendarMonthTiles> CMCalendarMonthTiles::create(base::Date monthDate, std::vector<bool> marks,
                                                             bool startOnSunday) {
    struct Made : CMCalendarMonthTiles {
        Made(base::Date monthDate, std::vector<bool> marks, bool startOnSunday)
            : CMCalendarMonthTiles(monthDate, std::move(marks), startOnSunday) {}
    };
    return base::make<Made>(monthDate, std::move(marks), startOnSunday);
}

CMCalendarMonthTiles::CMCalendarMonthTiles(base::Date monthDate, std::vector<bool> marks, bool startOnSunday)
    : monthDate_(monthDate), marks_(std::move(marks)), startOnSunday_(startOnSunday) {
    const int w = gmtWeekday(monthDate);
    firstWeekday_ = w;
    daysInMonth_ = CMDate::daysBetweenDate(monthDate, CMDate::nextMonth(monthDate));

    const CMDateInformation now = CMDate::dateInformation(base::Date::now());
    const CMDateInformation month = CMDate::dateInformation(monthDate, base::TimeZone::gmt());
    today_ = now.month == month.month && now.year == month.year ? now.day : 0;

    const int daysBefore = CMDate::daysBetweenDate(CMDate::previousMonth(monthDate), monthDate);
    if (startOnSunday && w >= 2) {
        firstOfPrev_ = daysBefore - w + 2;
        lastOfPrev_ = daysBefore;
    } else if (!startOnSunday && w != 2) {
        firstOfPrev_ = w == 1 ? daysBefore - 5 : daysBefore - w + 3;
        lastOfPrev_ = daysBefore;
    }
    setFrame({0, 1, Width, CellHeight * float(rows()) + 1});
    opaque = false;
    multipleTouchEnabled = false;
}

int CMCalendarMonthTiles::rows() const {
    return (leadingDays() + daysInMonth_ + 6) / 7;
}

void CMCalendarMonthTiles::setTarget(base::Weak<base::Object> target, Action action) {
    target_ = std::move(target);
    action_ = std::move(action);
}

gfx::Rect CMCalendarMonthTiles::rectForCellAtIndex(int index) {
    return {CellWidth * float(index % 7), CellHeight * float(index / 7) + CellTop, TileWidth, TileHeight};
}

void CMCalendarMonthTiles::drawTileInRect(gfx::Context &context, gfx::Rect rect, int day, bool mark,
                                          const gfx::Font &font, const gfx::Font &font2) const {
    context.drawText(base::str::format("%d", day), {rect.x(), rect.y(), TileWidth, 43}, font,
                     gfx::LineBreak::WordWrap, gfx::Align::Center);
    if (!mark)
        return;
    // The dot goes just under the number's baseline (the band from 18 points down assumes the
    // platform fonts' short ascent), centred on its own x-height.
    const float baseline = rect.y() + font.ascender();
    const float top = baseline + MarkGap - (font2.ascender() - font2.xHeight() / 2);
    const gfx::Size size = gfx::measure("•", font2);
    context.drawText("•", {rect.x() + (TileWidth - size.w) / 2, top}, font2);
}

void CMCalendarMonthTiles::drawRect(gfx::Context &context, gfx::Rect) {
    if (auto tile = gfx::Image::named(TilePicture))
        context.drawTiledImage({0, 0, CellWidth, CellHeight}, *tile);
    const int lead = leadingDays();
    if (today_ > 0)
        if (auto picture = gfx::Image::named(TodayPicture))
            context.drawImage(rectForCellAtIndex(lead + today_ - 1).offset(0, -TodayLift), *picture);

    const auto font = gfx::Font::boldSystem(22), font2 = gfx::Font::boldSystem(18);
    context.setFill(*gfx::Color::gray());
    for (int k = 0; k < lead; ++k)
        drawTileInRect(context, rectForCellAtIndex(k), firstOfPrev_ + k, marked(k), *font, *font2);
    for (int day = 1; day <= daysInMonth_; ++day) {
        const int cell = lead + day - 1;
        context.setFill(day == today_ ? *gfx::Color::white() : *dayColour());
        drawTileInRect(context, rectForCellAtIndex(cell), day, marked(cell), *font, *font2);
    }
    context.setFill(*gfx::Color::gray());
    const int filled = lead + daysInMonth_;
    for (int cell = filled, day = 1; cell % 7 != 0; ++cell, ++day)
        drawTileInRect(context, rectForCellAtIndex(cell), day, marked(cell), *font, *font2);
}

namespace {

base::Ref<ui::Label> highlightLabel(gfx::Rect frame, const char *text, float size) {
    auto label = base::make<ui::Label>(frame);
    label->setText(text);
    label->setTextColor(gfx::Color::white());
    label->setFont(gfx::Font::boldSystem(size));
    label->setTextAlignment(gfx::Align::Center);
    label->setBackgroundColor(gfx::Color::clear());
    label->setShadowColor(gfx::Color::darkGray());
    label->setShadowOffset({0, -1});
    return label;
}

} // namespace

void CMCalendarMonthTiles::makeHighlight() {
    if (selectedImageView_)
        return;
    base::Ref<gfx::Image> picture = CMGlobal::imageNamedTK(HighlightName);
    const gfx::Size size = picture ? picture->size() : gfx::Size{TileWidth, TileHeight};
    selectedImageView_ = base::make<ui::ImageView>(gfx::Rect{{0, 0}, size}, picture);
    currentDay_ = highlightLabel(gfx::Rect{{0, 0}, size}.offset(0, -2), "1", 22);
    dot_ = highlightLabel({0, 29, size.w, size.h - 31}, "•", 18);
    selectedImageView_->addSubview(currentDay_);
    selectedImageView_->addSubview(dot_);
}

ui::ImageView &CMCalendarMonthTiles::selectedImageView() {
    makeHighlight();
    return *selectedImageView_;
}

ui::Label &CMCalendarMonthTiles::currentDay() {
    makeHighlight();
    return *currentDay_;
}

ui::Label &CMCalendarMonthTiles::dot() {
    makeHighlight();
    return *dot_;
}

void CMCalendarMonthTiles::showHighlight(int c, int r, int n, int portion) {
    makeHighlight();
    const bool isToday = portion == This && n == today_;
    const char *picture = nullptr;
    gfx::Size shadow{0, -1};
    if (isToday) {
        picture = TodaySelectedPicture, shadow = {0, 1};
        markWasOnToday_ = true;
    } else if (portion != This) {
        picture = GreyPicture;
        markWasOnToday_ = true;
    } else if (markWasOnToday_) {
        picture = SelectedPicture;
        markWasOnToday_ = false;
    }
    if (picture) {
        selectedImageView_->setImage(bundlePicture(picture));
        currentDay_->setShadowOffset(shadow);
        dot_->setShadowOffset(shadow);
    }
    if (selectedImageView_->superview() != this)
        addSubview(selectedImageView_);
    bringSubviewToFront(selectedImageView_.get());
    currentDay_->setText(base::str::format("%d", n));
    if (marked(7 * r + c))
        selectedImageView_->addSubview(dot_);
    else
        dot_->removeFromSuperview();
    const gfx::Rect frame = selectedImageView_->frame();
    selectedImageView_->setFrame(
        {CellWidth * float(c), CellHeight * float(r) - 1, frame.width(), frame.height()});
}

void CMCalendarMonthTiles::selectDay(int day) {
    selectedDay_ = day;
    selectedPortion_ = This;
    const int cell = leadingDays() + day - 1;
    showHighlight(cell % 7, cell / 7, day, This);
}

std::optional<base::Date> CMCalendarMonthTiles::dateSelected() const {
    if (selectedDay_ <= 0 || selectedPortion_ != This)
        return std::nullopt;
    return dayOf(monthDate_, selectedDay_);
}

void CMCalendarMonthTiles::reactToTouch(const ui::Touch &touch, bool down) {
    const gfx::Point p = touch.location(this);
    const gfx::Rect area = bounds();
    // Beside the grid as well as above or below it: no day lies under the finger.
    if (p.y > area.height() || p.y < 0 || p.x < 0 || p.x >= area.width())
        return;
    int r = int(p.y / CellHeight);
    const int c = int(p.x / CellWidth);
    if (r == int(area.height() / CellHeight))
        --r;
    const int w = firstWeekday_;
    const int lead = startOnSunday_ ? w - 1 : (w == 1 ? 6 : w - 2);

    int day, portion;
    if (r == 0 && c < lead) {
        day = firstOfPrev_ + c, portion = Previous;
    } else {
        const int n = 7 * r + c - lead + 1;
        if (n > daysInMonth_)
            day = n - daysInMonth_, portion = Next;
        else
            day = n, portion = This;
    }
    showHighlight(c, r, day, portion);
    if (day == selectedDay_ && portion == selectedPortion_)
        return;
    auto target = target_.lock();
    if (portion == This) {
        selectedDay_ = day, selectedPortion_ = portion;
        if (target && action_)
            action_({day});
    } else if (down) {
        base::Ref<base::Object> keep = shared_from_this();
        if (target && action_)
            action_({day, portion});
        selectedDay_ = day, selectedPortion_ = portion;
    }
}

void CMCalendarMonthTiles::touchesBegan(const ui::TouchSet &touches, const ui::Event &) {
    if (!touches.empty())
        reactToTouch(*touches.front(), false);
}

void CMCalendarMonthTiles::touchesMoved(const ui::TouchSet &touches, const ui::Event &) {
    if (!touches.empty())
        reactToTouch(*touches.front(), false);
}

void CMCalendarMonthTiles::touchesEnded(const ui::TouchSet &touches, const ui::Event &) {
    if (!touches.empty())
        reactToTouch(*touches.front(), true);
}
