#pragma once

#include "Module/FrontPage/HomeWebPanel.h"

#include "ui/Button.h"

// The three analysis tabs of the home page ("主题投资", "价值发现", "一致性盈利预期"): the news
// host's analysis page over the whole tab with a back button at the lower left that steps back in
// the browser's history. Selecting the tab again keeps a detail page of the panel (an address with
// the panel's marker) and reloads it; anywhere else it fetches a fresh key, which brings the panel
// back to its index page.
class AnalysisWebPanel : public HomeWebPanel {
public:
    static inline const gfx::Rect BrowserFrame{0, 0, 1024, 586}, BackButtonFrame{10, 501, 64, 64};

    void setUp() override;
    void reloadCurrentWebPage() override;
    void BackAction(ui::Button *sender);

    ui::Button &backButton() { return *backButton_; }
    const std::string &detailMarker() const { return detailMarker_; }

protected:
    AnalysisWebPanel(gfx::Rect frame, const char *pageQuery, const char *detailMarker);

private:
    std::string detailMarker_;
    base::Ref<ui::Button> backButton_;
};

// "主题投资": themes and the securities behind them.
class SubjectInvestView : public AnalysisWebPanel {
public:
    static constexpr const char *PageQuery = "?r=zttz&userkey=";
    static constexpr const char *DetailMarker = "zttz.detail";
    explicit SubjectInvestView(gfx::Rect frame) : AnalysisWebPanel(frame, PageQuery, DetailMarker) {}
};

// "价值发现": companies the analysts value.
class DiscoverValueView : public AnalysisWebPanel {
public:
    static constexpr const char *PageQuery = "?r=jzfx.first&userkey=";
    static constexpr const char *DetailMarker = "jzfx.yxgs";
    explicit DiscoverValueView(gfx::Rect frame) : AnalysisWebPanel(frame, PageQuery, DetailMarker) {}
};

// "一致性盈利预期": the analysts' consensus earnings forecasts.
class ProfitExpectcanceView : public AnalysisWebPanel {
public:
    static constexpr const char *PageQuery = "?r=yzyq.consistencylist&userkey=";
    static constexpr const char *DetailMarker = "yzyq.consistencydetail";
    explicit ProfitExpectcanceView(gfx::Rect frame) : AnalysisWebPanel(frame, PageQuery, DetailMarker) {}
};
