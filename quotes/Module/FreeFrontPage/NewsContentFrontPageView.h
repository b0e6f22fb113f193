#pragma once

#include "Components/CMWaitingAlertView.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsData.h"

#include "gfx/Color.h"
#include "gfx/Font.h"
#include "ui/Button.h"
#include "ui/Gesture.h"
#include "web/WebView.h"

#include <string>

class NewsContentFrontPageView;

// What the host of the headline pop-up hears: a security link touched in the article.
class NewsContentFrontPageViewDelegate {
public:
    virtual ~NewsContentFrontPageViewDelegate() = default;
    // The code after the link's "=", market prefix and exchange code ("SH600000").
    virtual base::Opt<void> newsContentFrontPageView_didClickStockCode(const std::string &code) {
        (void)code;
        return base::notImplemented;
    }
};

// The headline pop-up ("今日要闻"): one article of the news host over the page that hosts it, with
// the title and the "（来自：source  time）" line centred above the body in the bundle's
// "news_content_template". Title, source and time show as written; the body is the host's markup.
//
// The host makes it once and keeps it; to show a headline it attaches the pop-up's recognisers to
// its own view and adds the pop-up when it is not shown, then asks for the article. Each article
// asked for blanks the page and asks through a news facade of its own, so that only the latest
// request's reply shows; a failed one says "文章加载失败". A link whose last path component
// begins with "@" is never loaded: "@stock=SH600000" hands "SH600000" to the host, "@stock" does
// nothing; any other link opens inside the pop-up. The close button, or a tap or the start of a
// drag anywhere on the host outside the pop-up, closes it: the recognisers leave the host, the page
// goes blank and the pop-up leaves the view. Touches inside it, other than on the close button,
// stay with the article. A drag never moves it.
class NewsContentFrontPageView : public ui::View, public NewsDataDelegate {
public:
    static constexpr const char *TemplateName = "news_content_template";
    static constexpr const char *DefaultTitle = "今日要闻";
    static constexpr const char *FailedText = "文章加载失败";
    static constexpr float CornerRadius = 8, PanelInset = 6, PanelRadius = 6, TitleBarHeight = 32;
    static constexpr float TitleCapWidth = 6, WebInsetX = 10, WebTop = 38;
    static constexpr float CloseSize = 32, CloseRightGap = 41, WaitingSize = 50;

    explicit NewsContentFrontPageView(gfx::Rect frame);
    ~NewsContentFrontPageView() override;
    void setUp() override;
    void layoutSubviews() override;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

    base::Weak<NewsContentFrontPageViewDelegate> delegate;
    std::string title = DefaultTitle;
    base::Ref<gfx::Font> titleFont = gfx::Font::boldSystem(19);
    base::Ref<gfx::Color> titleClr = gfx::Color::white();
    float titleFontSize = 14, sourceFontSize = 12, contentFontSize = 14;

    // Attaches the host recognisers to the view so that touches on it reach the pop-up; nullptr
    // is ignored.
    void addTapGestureRecognizerToSuperView(ui::View *view);
    // Blanks the page and asks for the article at the address, the spinner turning until it comes.
    void refreshData(const std::string &address);
    void updateWithNewsContent(const base::Ref<NewsContentInfo> &article);
    void closeAction(ui::Button *sender);
    void freeFrontPageTaped(ui::GestureRecognizer *sender);
    void cloaseBtnPan(ui::GestureRecognizer *sender);

    base::Opt<void> updateNewsContent(const base::Ref<NewsContentInfo> &article) override;
    base::Opt<void> updateNewsContentError(const std::string &message) override;
    // The link rule of the web view.
    bool shouldStartLoad(const base::Url &url, ui::NavigationType type);

    ui::WebView &webV() { return *webV_; }
    ui::Button &closeBtn() { return *closeBtn_; }
    CMWaitingAlertView &waitingAlert() { return *waitingAlert_; }
    ui::GestureRecognizer &recognizer() { return *recognizer_; }
    ui::GestureRecognizer &recognizerPan() { return *recognizerPan_; }
    gfx::Rect rtTitle() const { return rtTitle_; }
    gfx::Rect rtWebV() const { return rtWebV_; }

private:
    struct LinkRelay;
    struct GestureRelay;

    void close();
    // The title bar's and the web view's rectangles for the current size.
    void placeRects();
    // The template filled with the blocks in its places; no blocks load a blank page.
    void loadBlocks(const std::vector<std::string> &blocks);
    void stopWaiting();

    base::Ref<LinkRelay> linkRelay_;
    base::Ref<GestureRelay> gestureRelay_;
    base::Ref<ui::WebView> webV_;
    base::Ref<NewsData> newsData_;
    base::Ref<ui::Button> closeBtn_;
    base::Ref<CMWaitingAlertView> waitingAlert_;
    base::Ref<ui::TapRecognizer> recognizer_;
    base::Ref<ui::PanRecognizer> recognizerPan_, closeBtnPan_;
    // The view the host recognisers were attached to.
    base::Weak<ui::View> host_;
    gfx::Rect rtTitle_, rtWebV_;
};
