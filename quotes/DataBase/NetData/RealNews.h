#pragma once

#include "base/Object.h"

#include <cstdint>
#include <string>
#include <vector>

// The breaking-news state: the texts by id (id n at index n - 1, empty until received).
class RealNews : public base::Object {
public:
    std::string content;
    std::vector<std::string> array;
    int32_t firstid = 0;
    int32_t lastid = 0;
    int32_t currentid = 0;
    int32_t updateDate = 0;
    bool hasNewData = false;
    bool isShowingPopover = false;
};
