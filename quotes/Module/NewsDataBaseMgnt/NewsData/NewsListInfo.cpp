#include "Module/NewsDataBaseMgnt/NewsData/NewsListInfo.h"

void NewsListInfo::mergeWithAnother(const NewsListInfo &other) {
    first = other.first;
    next = other.next;
    last = other.last;
    // Copied first, so that merging a list into itself doubles it instead of reading what it appends.
    std::vector<base::Ref<NewsListItemInfo>> added = other.items_;
    items_.insert(items_.end(), added.begin(), added.end());
}
