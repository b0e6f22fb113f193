#pragma once

#include "Module/NewsDataBaseMgnt/NewsData/NewsContentInfo.h"

#include "web/WebView.h"

#include <string>

// The article pane: a web view over a clear background showing one article in the bundle's
// "news_content_template" page, the title and the "（来自：source  time）" line centred above the
// body. Title, source and time are shown as written (escaped); the body is the host's markup.
// Used by the news screen and by a security's news view; their owner is its web delegate.
class NewsContentView : public ui::WebView {
public:
    static constexpr const char *TemplateName = "news_content_template";
    static constexpr float TitleFontSize = 13, SourceFontSize = 11, ContentFontSize = 12;

    explicit NewsContentView(gfx::Rect frame = {});

    // Shows the article; no article keeps the one shown.
    void updateWithNewsContent(const base::Ref<NewsContentInfo> &article);
    void updateWithNewsTitle(const std::string &title, const std::string &otime, const std::string &source,
                             const std::string &content);
};
