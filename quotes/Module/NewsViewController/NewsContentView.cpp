#include "Module/NewsViewController/NewsContentView.h"

#include "Module/NewsViewController/NewsArticlePage.h"

#include "base/Str.h"
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
        base::str::format("<center><span style=\"font-family:宋体; font-size:%.0fpt\">%@</span></center>",
                          double(TitleFontSize), Page::escape(title)),
        base::str::format(
            "<center><span style=\"font-family:宋体; font-size:%.0fpt\">（来自：%@  %@）</span></center>",
            double(SourceFontSize), Page::escape(source), Page::escape(otime)),
        base::str::format("<span style=\"font-family:宋体; font-size:%.0fpt\">%@</span>",
                          double(ContentFontSize), content)};
    if (std::optional<Page::Page> page = Page::fromTemplate(TemplateName, blocks))
        loadHtml(std::move(page->html), page->baseUrl);
}
