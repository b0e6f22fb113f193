#pragma once

#include "DataBase/NetData/StkMinLineItem.h"

#include <cstdint>
#include <map>
#include <vector>

// One page of the full-screen tick list.
class StrikeDetailPageInfo : public base::Object {
public:
    int32_t pageNo = -1;
    std::vector<base::Ref<StkStrikeDetailItem>> array;
    bool isGetAllData = false;
    // Tick position of the page's pending request.
    int32_t currentReqPos = -1;
};

// The pages of the full-screen tick list by page number.
class StrikeDetailPageDict : public base::Object {
public:
    std::map<int32_t, base::Ref<StrikeDetailPageInfo>> pages;

    base::Ref<StrikeDetailPageInfo> getPageInfoWithCreate(int32_t pageNo);
    base::Ref<StrikeDetailPageInfo> getPageInfo(int32_t pageNo) const;
};
