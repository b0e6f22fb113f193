#pragma once

#include <string>

// A news-list reply of the given number of items: Chinese titles and summaries, dates, counters,
// prices and nested stock and tag lists, as the news host sends them.
std::string newsDocument(int items);
