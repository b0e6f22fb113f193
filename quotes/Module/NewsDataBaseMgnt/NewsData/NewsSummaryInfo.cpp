#include "Module/NewsDataBaseMgnt/NewsData/NewsSummaryInfo.h"

#include <cctype>

int NewsSummaryInfo::getNumMinuteFromOTime(const std::optional<std::string> &otime) {
    constexpr size_t hourAt = 11, minuteAt = 14, minLength = 16;
    if (!otime || otime->size() < minLength || (*otime)[hourAt + 2] != ':')
        return -1;
    int value = 0;
    for (size_t i : {hourAt, hourAt + 1, minuteAt, minuteAt + 1}) {
        if (!std::isdigit(static_cast<unsigned char>((*otime)[i])))
            return -1;
        value = value * 10 + ((*otime)[i] - '0');
    }
    return value;
}
