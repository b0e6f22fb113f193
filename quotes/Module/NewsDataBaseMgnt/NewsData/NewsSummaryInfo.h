#pragma once

#include "base/Object.h"

#include <optional>
#include <string>

// One headline of the home page (the headline reply) or one information-mine item of a security
// (the information-mine reply), as the news fetcher reads it. A field the reader filled from a
// missing key holds "", one its reader never sets holds nothing: the information-mine reader
// leaves `date` unset.
class NewsSummaryInfo : public base::Object {
public:
    std::optional<std::string> date;
    // The time text, "yyyy-mm-dd hh:mm…".
    std::optional<std::string> time;
    std::optional<std::string> summary;
    std::optional<std::string> title;
    // The article's JSON document, for an article request.
    std::optional<std::string> url;

    // The hour and minute of a time text as HHMM (characters 11 to 15 without the colon); -1 for
    // an absent text, one shorter than 16 characters or one whose hour and minute are not digits.
    static int getNumMinuteFromOTime(const std::optional<std::string> &otime);
};
