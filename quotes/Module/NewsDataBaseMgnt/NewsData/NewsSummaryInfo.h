#pragma once

#include "base/Object.h"

#include <string>

// One news item of a list (an information mine of a security, an article of a column). Only what
// the detail screen reads so far: the publication time "yyyy-mm-dd hh:mm…".
class NewsSummaryInfo : public base::Object {
public:
    std::string title;
    std::string time;

    // The hour and minute of a time text as HHMM (characters 11 to 15 without the colon); -1 for
    // a text shorter than 16 characters or one whose hour and minute are not digits.
    static int getNumMinuteFromOTime(const std::string &otime);
};
