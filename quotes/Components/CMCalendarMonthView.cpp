#include "Components/CMCalendarMonthView.h"

#include "Components/CMDateInformation.h"
#include "Components/CMGlobal.h"
#include "base/DateFormatter.h"

namespace {

const char *const TopBarPicture = "MonthCalendar.bundle/Images/calendar/Month Grid Top Bar.png";
const char *const ShadowPicture = "MonthCalendar.bundle/Images/calendar/Month Calendar Shadow.png";
const char *const LeftArrowName = "MonthCalendar.bundle/Images/calendar/Month Calendar Left Arrow";
const char *const RightArrowName = "MonthCalendar.bundle/Images/calendar/Month Calendar Right Arrow";

// A Sunday, then the rest of its week: the dates the weekday names are taken from.
constexpr int WeekOfNamesYear = 2010, WeekOfNamesMonth = 12, WeekOfNamesSunday = 5;

base::Ref<gfx::Color> textColour() {
    return gfx::Color::rgba(59.f / 255, 73.f / 255, 88.f / 255, 1);
}

// Midnight GMT on the 1st of the month the date falls in on the device, so that the month shown
// is the user's month also in the hours when GMT is in another one.
base::Date deviceMonthOf(base::Date date) {
    CMDateInformation info = CMDate::dateInformation(date);
    info.day = 1;
    info.hour = info.minute = info.second = 0;
    return CMDate::dateFromDateInformation(info, base::TimeZone::gmt());
}

base::Ref<ui::ImageView> natural(const char *name, gfx::Point at) {
    base::Ref<gfx::Image> picture = gfx::Image::fromFile(CMGlobal::fullBundlePath(name));
    return base::make<ui::ImageView>(gfx::Rect{at, picture ? picture->size() : gfx::Size{}}, picture);
}

} // namespace

base::Ref<CMCalendarMonthView> CMCalendarMonthView::create(bool sundayFirst) {
    struct Made : CMCalendarMonthView {
        explicit Made(bool sundayFirst) : CMCalendarMonthView(sundayFirst) {}
    };
    base::Ref<CMCalendarMonthView> calendar = base::make<Made>(sundayFirst);
    calendar->initWithSundayAsFirst();
    return calendar;
}

CMCalendarMonthView::CMCalendarMonthView(bool sundayFirst) : sunday_(sundayFirst) {}

base::Ref<CMCalendarMonthTiles> CMCalendarMonthView::makeTile(base::Date month) {
    std::vector<bool> marks;
    if (auto source = dataSource.lock()) {
        const auto range = CMCalendarMonthTiles::rangeOfDatesInMonthGrid(month, sunday_);
        marks = source->marksFromDate(*this, range[0], range[1]);
    }
    auto grid = CMCalendarMonthTiles::create(month, std::move(marks), sunday_);
    base::Weak<CMCalendarMonthView> weak = self<CMCalendarMonthView>();
    grid->setTarget(weak, [weak](const std::vector<int> &selection) {
        if (auto calendar = weak.lock())
            calendar->tile(selection);
    });
    return grid;
}

void CMCalendarMonthView::initWithSundayAsFirst() {
    const base::Date month = deviceMonthOf(base::Date::now());
    currentTile_ = CMCalendarMonthTiles::create(month, {}, sunday_);
    base::Weak<CMCalendarMonthView> weak = self<CMCalendarMonthView>();
    currentTile_->setTarget(weak, [weak](const std::vector<int> &selection) {
        if (auto calendar = weak.lock())
            calendar->tile(selection);
    });
    const float gridHeight = currentTile_->frame().height();
    tileBox_ = base::make<ui::View>(gfx::Rect{0, TopHeight, Width, gridHeight});
    tileBox_->clipsToBounds = true;
    tileBox_->opaque = false;
    tileBox_->addSubview(currentTile_);
    setFrame({0, 0, Width, TopHeight + gridHeight});

    topBackground_ = natural(TopBarPicture, {0, 0});
    addSubview(topBackground_);
    addSubview(tileBox_);

    monthYear_ = base::make<ui::Label>(gfx::Rect{0, 0, Width, 38});
    monthYear_->setFont(gfx::Font::boldSystem(22));
    monthYear_->setTextColor(textColour());
    monthYear_->setTextAlignment(gfx::Align::Center);
    monthYear_->setBackgroundColor(gfx::Color::clear());
    setTitle(month);
    addSubview(monthYear_);

    leftArrow_ = ui::Button::custom({0, 0, 48, 38});
    leftArrow_->setImage(CMGlobal::imageNamedTK(LeftArrowName));
    leftArrow_->tag = 0;
    rightArrow_ = ui::Button::custom({275, 0, 48, 38});
    rightArrow_->setImage(CMGlobal::imageNamedTK(RightArrowName));
    rightArrow_->tag = 1;
    for (auto &arrow : {leftArrow_, rightArrow_}) {
        arrow->addTarget(BASE_ACTION(this, changeMonth), ui::TouchUpInside);
        addSubview(arrow);
    }

    shadow_ = natural(ShadowPicture, {0, 0});
    addSubview(shadow_);
    fitToTile();

    const base::DateFormatter names("eee", base::Locale::current(), base::TimeZone::gmt());
    for (int i = 0; i < 7; ++i) {
        // Monday first: 6 to 11 December, then Sunday the 5th.
        const int day = sunday_ ? WeekOfNamesSunday + i : WeekOfNamesSunday + (i + 1) % 7;
        const base::Date date =
            CMDate::dateFromDateInformation({day, WeekOfNamesMonth, WeekOfNamesYear}, base::TimeZone::gmt());
        auto label = base::make<ui::Label>(gfx::Rect{CMCalendarMonthTiles::CellWidth * float(i), 29, 46, 15});
        label->setText(names.string(date));
        label->setFont(gfx::Font::system(11));
        label->setTextColor(textColour());
        label->setTextAlignment(gfx::Align::Center);
        label->setBackgroundColor(gfx::Color::clear());
        label->setShadowColor(gfx::Color::white());
        label->setShadowOffset({0, 1});
        addSubview(label);
        weekdays_.push_back(label);
    }
    setBackgroundColor(gfx::Color::gray());
}

void CMCalendarMonthView::setTitle(base::Date month) {
    // Month dates are midnight GMT: named in GMT they name their own month in every zone.
    monthYear_->setText(CMDate::month(month, base::TimeZone::gmt()) + " " +
                        CMDate::year(month, base::TimeZone::gmt()));
}

void CMCalendarMonthView::fitToTile() {
    const float gridHeight = currentTile_->frame().height();
    tileBox_->setFrame({0, TopHeight, currentTile_->frame().width(), gridHeight});
    const gfx::Rect frame = this->frame();
    setFrame({frame.x(), frame.y(), Width, TopHeight + gridHeight});
    const gfx::Rect shade = shadow_->frame();
    shadow_->setFrame(
        {shade.x(), TopHeight + gridHeight - shade.height() + ShadowOverlap, shade.width(), shade.height()});
}

void CMCalendarMonthView::changeMonth(ui::Button *sender) {
    changeMonthAnimation(sender && sender->tag == 1);
    if (auto owner = delegate.lock())
        owner->monthDidChange(*this, monthDate());
}

void CMCalendarMonthView::changeMonthAnimation(bool forward) {
    const base::Date current = currentTile_->monthDate();
    const base::Date month = forward ? CMDate::nextMonth(current) : CMDate::previousMonth(current);
    const auto range = CMCalendarMonthTiles::rangeOfDatesInMonthGrid(month, sunday_);
    base::Ref<CMCalendarMonthTiles> fresh = makeTile(month);

    // The week row the two months share, which slides as one.
    float overlap = CMCalendarMonthTiles::CellHeight;
    if ((forward && month == range[0]) || (!forward && current > range[1]))
        overlap = 0;
    base::Ref<CMCalendarMonthTiles> old = currentTile_;
    const float oldHeight = old->frame().height(), newHeight = fresh->frame().height();
    const gfx::Rect start = fresh->frame();
    fresh->setFrame(
        {start.x(), forward ? oldHeight - overlap : overlap - newHeight, start.width(), newHeight});
    tileBox_->addSubview(fresh);
    tileBox_->bringSubviewToFront(old.get());
    userInteractionEnabled = false;
    if (oldTile_)
        oldTile_->removeFromSuperview();
    oldTile_ = old;
    currentTile_ = fresh;

    base::Weak<CMCalendarMonthView> weak = self<CMCalendarMonthView>();
    ui::View::animate(
        SwitchSeconds, 0, ui::Curve::EaseInOut,
        [&] {
            old->setAlpha(0);
            const gfx::Rect was = old->frame();
            const float oldY = forward ? overlap - oldHeight : newHeight - overlap;
            old->setFrame({was.x(), oldY, was.width(), was.height()});
            fresh->setFrame({start.x(), 1, start.width(), newHeight});
            fitToTile();
        },
        [weak](bool) {
            if (auto calendar = weak.lock())
                calendar->animationEnded();
        });
    setTitle(month);
}

void CMCalendarMonthView::animationEnded() {
    userInteractionEnabled = true;
    if (oldTile_) {
        oldTile_->removeFromSuperview();
        oldTile_.reset();
    }
}

void CMCalendarMonthView::tile(const std::vector<int> &selection) {
    if (selection.size() == 1) {
        auto owner = delegate.lock();
        if (auto date = dateSelected(); owner && date)
            owner->didSelectDate(*this, *date);
        return;
    }
    if (selection.size() != 2)
        return;
    const int day = selection[0], portion = selection[1];
    changeMonthAnimation(portion != 0);
    currentTile_->selectDay(day);
    // The new month from its GMT fields, so that zones west of GMT stay in it; the time of day
    // is the device's reading of the month's midnight GMT.
    const base::Date month = currentTile_->monthDate();
    const CMDateInformation gmtFields = CMDate::dateInformation(month, base::TimeZone::gmt());
    CMDateInformation info = CMDate::dateInformation(month);
    info.year = gmtFields.year;
    info.month = gmtFields.month;
    info.day = day;
    if (auto owner = delegate.lock())
        owner->monthDidChange(*this, CMDate::dateFromDateInformation(info));
}

void CMCalendarMonthView::selectDate(base::Date date) {
    const base::Date month = deviceMonthOf(date);
    if (month != monthDate()) {
        base::Ref<CMCalendarMonthTiles> fresh = makeTile(month);
        currentTile_->removeFromSuperview();
        currentTile_ = fresh;
        tileBox_->addSubview(fresh);
        fitToTile();
        setTitle(month);
    }
    currentTile_->selectDay(CMDate::dateInformation(date).day);
}

void CMCalendarMonthView::reload() {
    base::Ref<CMCalendarMonthTiles> fresh = makeTile(monthDate());
    tileBox_->addSubview(fresh);
    currentTile_->removeFromSuperview();
    currentTile_ = fresh;
}
