#pragma once

#include "Module/FrontPage/HomeWebPanel.h"
#include "Module/FrontPage/SynthesizedView/IndexSideBannerView.h"

#include <string>
#include <vector>

// What the home page hears from its first tab. Optional.
class SynthesizedViewDelegate {
public:
    virtual ~SynthesizedViewDelegate() = default;
    // A tapped index: its code, its place in the column and the column's codes.
    virtual base::Opt<void> ReturnSynthesizeStockCode(const std::string &code, int index,
                                                      const std::vector<std::string> &codes) {
        (void)code, (void)index, (void)codes;
        return base::notImplemented;
    }
    // The user tapped the headline link of the page.
    virtual base::Opt<void> ReturnNewsFuncID(const std::string &address) {
        (void)address;
        return base::notImplemented;
    }
};

// The home page's first tab ("首页"): the index column on the left and the news host's home
// analysis page beside it. Selecting the tab again fetches a fresh key (and so the home page)
// while the browser is on a page under the panel path, and otherwise reloads the page the user
// went to. A tapped link whose whole address is the news host's headline page with
// "?openNews=1" is not followed: the owner switches to the news tab instead. The same page
// reached by a redirect or a script, or with another query, loads as any other.
class SynthesizedView : public HomeWebPanel, public IndexSideBannerViewDelegate {
public:
    static constexpr const char *PageQuery = "?userkey=";
    static constexpr const char *OwnPageMark = "/dbui/ipad";
    static constexpr const char *HeadlinePage = "/wap/data/ipad/news/jrtt/1.html?openNews=1";
    static inline const gfx::Rect BannerFrame{0, 0, 225, 570}, BrowserFrame{230, 0, 789, 586};

    explicit SynthesizedView(gfx::Rect frame);
    void setUp() override;

    void reloadCurrentWebPage() override;
    base::Opt<void> ReturnSelStockCode(const std::string &code, int index,
                                       const std::vector<std::string> &codes) override;

    IndexSideBannerView &indexSideBannerView() { return *indexSideBannerView_; }
    base::Weak<SynthesizedViewDelegate> delegate;

protected:
    void loadDecided(ui::WebView &webView, ui::NavigationType type) override;

private:
    base::Ref<IndexSideBannerView> indexSideBannerView_;
};
