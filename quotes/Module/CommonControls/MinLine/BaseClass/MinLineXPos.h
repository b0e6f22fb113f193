#pragma once

#include <cstdint>
#include <vector>

// Where one drawn minute point sits.
struct MinLineXPosItem {
    int32_t index = 0; // in the minute list
    float x = 0;
};

// One mark on the intraday time axis.
struct TimeXPosItem {
    enum Type : int16_t { DayClose = 0, HalfHour = 1, SessionClose = 2 };

    // A half-hour mark's minute offset from the day's first trading minute, or a close mark's
    // session closing time HHMM.
    int16_t time = 0;
    int16_t type = HalfHour;
    int32_t x = 0;
};

// One trading session on the time axis with its marks: half-hour marks, then the close mark.
struct TradeTimeXPosItem {
    int16_t opentime = 0;
    int16_t closetime = 0;
    float openx = 0;
    // One minute past the session's last minute.
    float closex = 0;

    const std::vector<TimeXPosItem> &getSubArray() const { return subArray; }
    void addSubPos(int16_t time, int32_t x, int16_t type) { subArray.push_back({time, type, x}); }

    std::vector<TimeXPosItem> subArray;
};
