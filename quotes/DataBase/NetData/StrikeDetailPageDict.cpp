#include "DataBase/NetData/StrikeDetailPageDict.h"

base::Ref<StrikeDetailPageInfo> StrikeDetailPageDict::getPageInfoWithCreate(int32_t pageNo) {
    auto &page = pages[pageNo];
    if (!page) {
        page = base::make<StrikeDetailPageInfo>();
        page->pageNo = pageNo;
    }
    return page;
}

base::Ref<StrikeDetailPageInfo> StrikeDetailPageDict::getPageInfo(int32_t pageNo) const {
    auto found = pages.find(pageNo);
    return found == pages.end() ? nullptr : found->second;
}
