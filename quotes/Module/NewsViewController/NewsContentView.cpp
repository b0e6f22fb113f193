#include "Module/NewsViewController/NewsContentView.h"

#include "Module/NewsViewController/NewsArticlePage.h"

#include "gfx/Color.h"

NewsContentView::NewsContentView(gfx::Rect frame) : ui::WebView(frame) {
    setBackgroundColor(gfx::Color::clear());
    opaque = false;
}

void NewsContentView::updateWithNewsContent(const base::Ref<NewsContentInfo> &article) {
    if (!article)
        return;
    updateWithNewsTitle(article->title.value_or(""), article->otime.value_or(""),
                        article->source.value_or(""), article->content.value_or(""));
}

void NewsContentView::updateWithNewsTitle(const std::string &title, const std::string &otime,
                                          const std::string &source, const std::string &content) {
    using Page = NewsArticlePage;
    std::vector<std::string> blocks = {
        Page::block(TitleFontSize, Page::escape(title), true),
        Page::block(SourceFontSize, "（来自：" + Page::escape(source) + "  " + Page::escape(otime) + "）",
                    true),
        Page::block(ContentFontSize, content, false)};
    if (std::optional<Page::Page> page = Page::fromTemplate(TemplateName, blocks))
        loadHtml(std::move(page->html), page->baseUrl);
}
