#include "Components/PullingRefreshTableView.h"

#include "base/Bundle.h"
#include "base/Calendar.h"
#include "base/DateFormatter.h"
#include "base/Str.h"

#include <algorithm>
#include <cmath>

namespace {

base::Ref<gfx::Color> stripColour() {
    return gfx::Color::rgba(226.f / 255, 231.f / 255, 237.f / 255, 1);
}

base::Ref<ui::Label> stripLabel() {
    auto label = base::make<ui::Label>();
    label->setFont(gfx::Font::system(12));
    label->setTextColor(gfx::Color::rgba(87.f / 255, 108.f / 255, 137.f / 255, 1));
    label->setTextAlignment(gfx::Align::Center);
    label->setBackgroundColor(stripColour());
    label->autoresizingMask = ui::FlexibleWidth;
    return label;
}

} // namespace

base::Ref<LoadingView> LoadingView::create(gfx::Rect frame, bool atTop) {
    struct Made : LoadingView {
        Made(gfx::Rect frame, bool atTop) : LoadingView(frame, atTop) {}
    };
    base::Ref<LoadingView> strip = base::make<Made>(frame, atTop);
    strip->initUI();
    return strip;
}

LoadingView::LoadingView(gfx::Rect frame, bool atTop) : ui::View(frame), atTop_(atTop) {}

void LoadingView::initUI() {
    autoresizingMask = ui::FlexibleWidth;
    setBackgroundColor(stripColour());
    stateLabel_ = stripLabel();
    stateLabel_->setText(base::localized("下拉刷新"));
    addSubview(stateLabel_);
    dateLabel_ = stripLabel();
    addSubview(dateLabel_);
    arrow_ = base::make<ui::ImageView>();
    arrow_->setContentMode(ui::ImageView::Mode::AspectFit);
    addSubview(arrow_);
    spinner_ = base::make<ui::ActivityIndicator>(ui::ActivityIndicator::Style::Gray);
    addSubview(spinner_);
    layouts();
}

void LoadingView::layouts() {
    const float width = frame().width(), height = frame().height();
    // The header's content sits at its bottom edge, next to the first row; the footer's at its top.
    const float top = atTop_ ? height - 50 : 10;
    arrow_->setImage(gfx::Image::named(atTop_ ? "blueArrow" : "blueArrowDown"));
    stateLabel_->setFrame({0, top, width, 20});
    dateLabel_->setFrame({0, top + 20, width, 20});
    arrow_->setTransform(gfx::Transform::identity());
    arrow_->setFrame({20, top, 20, 40});
    spinner_->setCenter({30, top + 20});
    if (!atTop_)
        stateLabel_->setText(base::localized("上拉加载"));
}

void LoadingView::turnArrow(gfx::Transform transform, bool animated) {
    ui::View::animate(animated ? TurnSeconds : 0, [&] { arrow_->setTransform(transform); });
}

void LoadingView::setState(int state, bool animated) {
    if (state == state_)
        return;
    state_ = state;
    switch (state) {
    case Normal:
    case Release:
        if (loading_)
            return;
        arrow_->setHidden(false);
        spinner_->stop();
        spinner_->setHidden(true);
        turnArrow(state == Release ? gfx::Transform::rotation(float(M_PI)) : gfx::Transform::identity(),
                  animated);
        if (state == Normal)
            stateLabel_->setText(base::localized(atTop_ ? "下拉刷新" : "上拉加载更多"));
        else
            stateLabel_->setText(base::localized(atTop_ ? "释放刷新" : "释放加载更多"));
        break;
    case Loading:
        loading_ = true;
        arrow_->setHidden(true);
        spinner_->setHidden(false);
        spinner_->start();
        stateLabel_->setText(base::localized(atTop_ ? "正在刷新" : "正在加载"));
        break;
    case End:
        if (atTop_)
            return;
        arrow_->setHidden(true);
        stateLabel_->setText(base::localized("没有了哦"));
        break;
    default:
        break;
    }
}

void LoadingView::updateRefreshDate(base::Date date, const std::string &format) {
    std::string text = base::DateFormatter(format).string(date);
    const base::DateComponents gone = base::Calendar().elapsed(date, base::Date::now());
    if (gone.year == 0 && gone.month == 0 && gone.day <= 2) {
        // Whole elapsed days: 23 hours ago is still today, even across midnight. The future is today.
        const char *day = gone.day <= 0 ? "今天" : gone.day == 1 ? "昨天" : "前天";
        text = base::DateFormatter(base::str::format("%s HH:mm", base::localized(day))).string(date);
    }
    dateLabel_->setText(base::str::format("%s: %s", base::localized("最后更新"), text));
}

base::Ref<PullingRefreshTableView>
PullingRefreshTableView::create(gfx::Rect frame, base::Weak<PullingRefreshTableViewDelegate> delegate) {
    base::Ref<PullingRefreshTableView> table = create(frame, Style::Plain);
    table->pullingDelegate = std::move(delegate);
    return table;
}

base::Ref<PullingRefreshTableView> PullingRefreshTableView::create(gfx::Rect frame, Style style) {
    struct Made : PullingRefreshTableView {
        Made(gfx::Rect frame, Style style) : PullingRefreshTableView(frame, style) {}
    };
    base::Ref<PullingRefreshTableView> table = base::make<Made>(frame, style);
    table->addStrips();
    return table;
}

PullingRefreshTableView::PullingRefreshTableView(gfx::Rect frame, Style style)
    : ui::TableView(frame, style) {}

void PullingRefreshTableView::addStrips() {
    const float width = frame().width(), height = frame().height();
    headerView_ = LoadingView::create({0, -height, width, height}, true);
    footerView_ = LoadingView::create({0, height, width, height}, false);
    addSubview(headerView_);
    addSubview(footerView_);
    base::Weak<PullingRefreshTableView> weak = self<PullingRefreshTableView>();
    onContentSizeChange([weak](gfx::Size size) {
        if (auto table = weak.lock())
            table->contentSizeChanged(size);
    });
}

void PullingRefreshTableView::tableViewDidScroll(ui::ScrollView &scrollView) {
    if (headerView_->state() == LoadingView::Loading || footerView_->state() == LoadingView::Loading)
        return;
    const float y = scrollView.contentOffset().y;
    if (y < -PullDistance) {
        headerView_->setState(LoadingView::Release);
    } else if (y > -PullDistance && y < 0) {
        headerView_->setState(LoadingView::Normal);
    } else {
        // How far the content's end has been pulled above the bottom edge.
        const float beyond = y + scrollView.frame().height() - scrollView.contentSize().h;
        if (footerView_->state() == LoadingView::End)
            return;
        if (beyond > PullDistance)
            footerView_->setState(LoadingView::Release);
        else if (beyond > 0 && beyond < PullDistance)
            footerView_->setState(LoadingView::Normal);
    }
}

void PullingRefreshTableView::animateInset(gfx::EdgeInsets inset, double seconds, ui::Curve curve,
                                           std::function<void(bool)> completion) {
    ui::View::animate(
        seconds, 0, curve, [&] { setContentInset(inset); }, std::move(completion));
}

void PullingRefreshTableView::tableViewDidEndDragging(ui::ScrollView &) {
    if (headerView_->state() == LoadingView::Loading || footerView_->state() == LoadingView::Loading)
        return;
    base::Ref<base::Object> keep = shared_from_this();
    if (headerView_->state() == LoadingView::Release) {
        if (!enableHeaderPull_)
            return;
        footerInAction_ = false;
        headerView_->setState(LoadingView::Loading);
        animateInset({PullDistance, 0, 0, 0}, InsetSeconds, ui::Curve::EaseInOut);
        if (auto owner = pullingDelegate.lock())
            owner->pullingTableViewDidStartRefreshing(*this);
    } else if (footerView_->state() == LoadingView::Release) {
        if (reachedTheEnd_ || !enableFooterPull_)
            return;
        footerInAction_ = true;
        footerView_->setState(LoadingView::Loading);
        animateInset({0, 0, PullDistance, 0}, InsetSeconds, ui::Curve::EaseInOut);
        if (auto owner = pullingDelegate.lock())
            owner->pullingTableViewDidStartLoading(*this);
    }
}

void PullingRefreshTableView::tableViewDidFinishedLoadingWithMessage(const std::string &message) {
    headerView_->updateRefreshDate(base::Date::now(), dateFormatString);
    base::Weak<PullingRefreshTableView> weak = self<PullingRefreshTableView>();
    auto thenMessage = [weak, message](bool) {
        if (auto table = weak.lock(); table && !message.empty())
            table->flashMessage(message);
    };
    auto owner = pullingDelegate.lock();
    if (headerView_->isLoading()) {
        headerView_->setLoading(false);
        headerView_->setState(LoadingView::Normal, false);
        base::Opt<base::Date> date =
            owner ? owner->pullingTableViewRefreshingFinishedDate() : base::notImplemented;
        headerView_->updateRefreshDate(date ? *date : base::Date::now(), dateFormatString);
        animateInset({}, RefreshResetSeconds, ui::Curve::EaseOut, thenMessage);
    } else if (footerView_->isLoading()) {
        footerView_->setLoading(false);
        footerView_->setState(LoadingView::Normal, false);
        base::Opt<base::Date> date =
            owner ? owner->pullingTableViewLoadingFinishedDate() : base::notImplemented;
        footerView_->updateRefreshDate(date ? *date : base::Date::now(), dateFormatString);
        animateInset({}, InsetSeconds, ui::Curve::EaseInOut, thenMessage);
    }
}

void PullingRefreshTableView::contentSizeChanged(gfx::Size size) {
    const gfx::Rect footer = footerView_->frame();
    footerView_->setFrame({footer.x(), std::max(size.h, frame().height()), footer.width(), footer.height()});
    if (!footerInAction_)
        return;
    if (autoScrollToNextPage) {
        scrollToNextPage();
        footerInAction_ = false;
        return;
    }
    // Left set on purpose: every later growth steps on too, until a pull-down refresh starts.
    const gfx::Point offset = contentOffset();
    setContentOffset({offset.x, offset.y + LoadStep});
}

void PullingRefreshTableView::scrollToNextPage() {
    const gfx::Point offset = contentOffset();
    const float y = std::min(offset.y + frame().height(), contentSize().h);
    ui::View::animate(PageSeconds, 0, ui::Curve::EaseOut, [&] { setContentOffset({0, y}); });
}

void PullingRefreshTableView::flashMessage(const std::string &message) {
    const float top = contentOffset().y, width = bounds().width();
    if (!messageLabel_) {
        messageLabel_ = base::make<ui::Label>(gfx::Rect{0, top - MessageHeight, width, MessageHeight});
        messageLabel_->setFont(gfx::Font::system(14));
        messageLabel_->setBackgroundColor(gfx::Color::orange());
        messageLabel_->setTextAlignment(gfx::Align::Center);
        messageLabel_->autoresizingMask = ui::FlexibleWidth;
        addSubview(messageLabel_);
    }
    messageLabel_->setText(message);
    const int run = ++messageRun_;
    base::Ref<ui::Label> label = messageLabel_;
    base::Weak<PullingRefreshTableView> weak = self<PullingRefreshTableView>();
    const gfx::Rect shown{0, top, width, MessageHeight}, hidden{0, top - MessageHeight, width, MessageHeight};
    ui::View::animate(
        MessageInSeconds, [&] { label->setFrame(shown); },
        [weak, label, hidden, run](bool) {
            ui::View::animate(
                MessageOutSeconds, MessageWaitSeconds, ui::Curve::Linear, [&] { label->setFrame(hidden); },
                [weak, label, run](bool) {
                    auto table = weak.lock();
                    // A newer message took the strip over meanwhile: it goes when that one is done.
                    if (!table || table->messageRun_ != run)
                        return;
                    label->removeFromSuperview();
                    table->messageLabel_.reset();
                });
        });
}

void PullingRefreshTableView::launchRefreshing() {
    setContentOffset({0, 0});
    base::Weak<PullingRefreshTableView> weak = self<PullingRefreshTableView>();
    ui::View::animate(
        InsetSeconds,
        [&] {
            setContentOffset({0, LaunchOffset});
        },
        [weak](bool) {
            if (auto table = weak.lock())
                table->tableViewDidEndDragging(*table);
        });
}

void PullingRefreshTableView::setReachedTheEnd(bool reached) {
    reachedTheEnd_ = reached;
    footerView_->setState(reached ? LoadingView::End : LoadingView::Normal);
}

void PullingRefreshTableView::setEnableHeaderPull(bool enable) {
    enableHeaderPull_ = enable;
    headerView_->setHidden(!enable);
}

void PullingRefreshTableView::setEnableFooterPull(bool enable) {
    enableFooterPull_ = enable;
    footerView_->setHidden(!enable);
}
