#pragma once

#include "base/Object.h"

#include <optional>
#include <string>
#include <vector>

// One entry of a news list page or of a stock news category.
class NewsListItemInfo : public base::Object {
public:
    std::optional<std::string> otime;
    std::optional<std::string> source;
    std::optional<std::string> summary;
    std::optional<std::string> title;
    // The article's JSON document.
    std::optional<std::string> url;
};

// A news list: the entries of its pages in order, and the page links of the page read last. The
// links name pages relative to the directory of the list's address; they are absent while no page
// with a header has been read, which the news screen's end detection relies on (an absent link
// never equals another).
class NewsListInfo : public base::Object {
public:
    std::optional<std::string> first;
    std::optional<std::string> next;
    std::optional<std::string> last;

    const std::vector<base::Ref<NewsListItemInfo>> &items() const { return items_; }
    void addNewsListItem(base::Ref<NewsListItemInfo> item) { items_.push_back(std::move(item)); }
    // Empties the entries; the links stay.
    void removeAllNewsListItems() { items_.clear(); }
    // Takes over the other page's links and appends its entries.
    void mergeWithAnother(const NewsListInfo &other);

private:
    std::vector<base::Ref<NewsListItemInfo>> items_;
};
