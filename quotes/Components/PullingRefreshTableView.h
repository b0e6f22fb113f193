#pragma once

#include "base/Date.h"
#include "ui/ActivityIndicator.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableView.h"

#include <string>

// One status strip of the pull-to-refresh table: an arrow, a spinner, a state text and the time
// of the last update. The header strip lies above the rows with its content at its bottom edge,
// the footer below them with its content at its top edge.
class LoadingView : public ui::View {
public:
    enum State { Normal = 0, Release = 1, Loading = 2, End = 3 };
    static constexpr double TurnSeconds = 0.18;

    static base::Ref<LoadingView> create(gfx::Rect frame, bool atTop);

    // Places the arrow, spinner and texts for the strip's size.
    void layouts();
    void setState(int state) { setState(state, true); }
    // Normal and release are skipped while loading (the state is still stored); the end state
    // belongs to the footer alone.
    void setState(int state, bool animated);
    int state() const { return state_; }
    // "最后更新: " and the date, named 今天, 昨天 or 前天 within two whole days, else in the format.
    void updateRefreshDate(base::Date date, const std::string &format);

    bool isLoading() const { return loading_; }
    void setLoading(bool loading) { loading_ = loading; }
    bool isAtTop() const { return atTop_; }
    void setAtTop(bool atTop) { atTop_ = atTop; }

    ui::Label &stateLabel() { return *stateLabel_; }
    ui::Label &dateLabel() { return *dateLabel_; }
    ui::ImageView &arrow() { return *arrow_; }
    ui::ActivityIndicator &spinner() { return *spinner_; }

protected:
    LoadingView(gfx::Rect frame, bool atTop);

private:
    void initUI();
    void turnArrow(gfx::Transform transform, bool animated);

    bool atTop_;
    bool loading_ = false;
    int state_ = Normal;
    base::Ref<ui::Label> stateLabel_, dateLabel_;
    base::Ref<ui::ImageView> arrow_;
    base::Ref<ui::ActivityIndicator> spinner_;
};

class PullingRefreshTableView;

// What the owner of a pull-to-refresh table hears.
class PullingRefreshTableViewDelegate {
public:
    virtual ~PullingRefreshTableViewDelegate() = default;
    // The user released the header: reload the list, then call tableViewDidFinishedLoading.
    virtual void pullingTableViewDidStartRefreshing(PullingRefreshTableView &table) = 0;
    // The user released the footer: load the next page.
    virtual base::Opt<void> pullingTableViewDidStartLoading(PullingRefreshTableView &table) {
        (void)table;
        return base::notImplemented;
    }
    // The last-update times shown when a refresh or a load finishes; now by default.
    virtual base::Opt<base::Date> pullingTableViewRefreshingFinishedDate() { return base::notImplemented; }
    virtual base::Opt<base::Date> pullingTableViewLoadingFinishedDate() { return base::notImplemented; }
};

// A table with a header strip the user pulls down to reload the list and a footer strip the user
// pulls up to load the next page. The owner, the table's scroll delegate, forwards the scroll and
// end-of-drag events; the table tells its pulling delegate when a refresh or load starts, and the
// owner tells the table when its data has come. While either strip loads, pulling does nothing,
// so a refresh and a load never run at once.
class PullingRefreshTableView : public ui::TableView {
public:
    static constexpr float PullDistance = 60, LaunchOffset = -61, LoadStep = 44, MessageHeight = 20;
    static constexpr double InsetSeconds = 0.18, RefreshResetSeconds = 0.36, PageSeconds = 0.7;
    static constexpr double MessageInSeconds = 0.4, MessageWaitSeconds = 1.2, MessageOutSeconds = 0.4;

    static base::Ref<PullingRefreshTableView> create(gfx::Rect frame,
                                                     base::Weak<PullingRefreshTableViewDelegate> delegate);
    static base::Ref<PullingRefreshTableView> create(gfx::Rect frame, Style style);

    // The owner's scroll events, with the scroll view it was given (this table).
    void tableViewDidScroll(ui::ScrollView &scrollView);
    void tableViewDidEndDragging(ui::ScrollView &scrollView);
    // The owner's data has come: ends the refresh or load under way.
    void tableViewDidFinishedLoading() { tableViewDidFinishedLoadingWithMessage({}); }
    // The same, then shows the message unless it is empty.
    void tableViewDidFinishedLoadingWithMessage(const std::string &message);
    // Slides a message strip in under the top edge for a moment.
    void flashMessage(const std::string &message);
    // A refresh as if the user had pulled.
    void launchRefreshing();
    void setReachedTheEnd(bool reached);
    bool reachedTheEnd() const { return reachedTheEnd_; }
    void setEnableHeaderPull(bool enable);
    bool isEnableHeaderPull() const { return enableHeaderPull_; }
    void setEnableFooterPull(bool enable);
    bool isEnableFooterPull() const { return enableFooterPull_; }
    void scrollToNextPage();

    base::Weak<PullingRefreshTableViewDelegate> pullingDelegate;
    std::string dateFormatString = "yyyy-MM-dd HH:mm";
    bool autoScrollToNextPage = false;

    LoadingView &headerView() { return *headerView_; }
    LoadingView &footerView() { return *footerView_; }
    ui::Label *messageLabel() { return messageLabel_.get(); }

protected:
    PullingRefreshTableView(gfx::Rect frame, Style style);

private:
    // The header and footer strips, and the watch on the content size that moves the footer.
    void addStrips();
    void contentSizeChanged(gfx::Size size);
    void animateInset(gfx::EdgeInsets inset, double seconds, ui::Curve curve,
                      std::function<void(bool)> completion = {});

    base::Ref<LoadingView> headerView_, footerView_;
    base::Ref<ui::Label> messageLabel_;
    // Which showing of the message strip is the latest.
    int messageRun_ = 0;
    bool footerInAction_ = false;
    bool reachedTheEnd_ = false;
    bool enableHeaderPull_ = true, enableFooterPull_ = true;
};
