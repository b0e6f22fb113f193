#pragma once

#include "base/Value.h"

#include <cstddef>
#include <string>

// The search of the market code library by exchange code or pinyin initials, shared by every
// search field of the application: the navigation bar's stock search (trimmed text, best 20), the
// detail screen's overlay search and the full-screen chart's tool bar (text as typed, best 70), and
// the price-alarm list's search (text as typed, the first 50 matches).
//
// The key is the text upper-cased (ASCII letters only, so names pass untouched). "$" with a market
// prefix and a code finds exactly that security (order 100, at most one row). Otherwise a security
// whose code or initials equal the key scores 100; else one whose code holds the key at position p
// scores 99 − p, else one whose initials hold it at p scores 99 − p; anything below 1 is left out.
// The walk, market by market in library order, stops after the settings' count of accepted
// securities (200, or 50 for the alarms); the rows are sorted by score, equal scores in library
// order, and the best are kept. An empty key is held by
// every text, so it counts only as an exact match: it finds the entries without code or initials.
//
// A row: {"market", "numCode", "code" (market and code), "name", "order" (the score)}.
class StockSearchRule {
public:
    static constexpr size_t MaxAccepted = 200;
    struct Settings {
        bool trimmed;       // blanks around the text are dropped first
        size_t maxResults;  // rows kept after sorting
        size_t maxAccepted; // matches after which the walk stops
    };
    static constexpr Settings NavigationSearch{true, 20, MaxAccepted};
    static constexpr Settings OverlaySearch{false, 70, MaxAccepted};
    // The first 50 matches in library order, all of them kept, sorted.
    static constexpr Settings AlarmSearch{false, 50, 50};

    // The rows for the text in the library (markets {"title", "Lib": [{"SCode", "SName", "SPinY"}]}).
    static base::Array search(const std::string &text, const base::Array &codeLib, Settings settings);
    // The same in the library of the shared quote layer (none before the login: no rows).
    static base::Array search(const std::string &text, Settings settings);
};
