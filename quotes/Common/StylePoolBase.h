#pragma once

#include "gfx/Context.h"
#include "gfx/Geometry.h"

#include <array>
#include <string>

// The Chinese ordinals of the order-book panels ("一" to "十", bid levels "买一" to "买十", ask levels
// "卖一" to "卖十") and the entry points of the charts' separator lines. The separators themselves
// draw nothing here; the style pool, which knows the colours, draws them.
class StylePoolBase {
public:
    static constexpr int OrdinalCount = 10;

    StylePoolBase();
    virtual ~StylePoolBase() = default;
    StylePoolBase(const StylePoolBase &) = delete;
    StylePoolBase &operator=(const StylePoolBase &) = delete;

    const std::array<std::string, OrdinalCount> cnNums, buyNums, sellNums;

    // The bid or ask level name of index 0 to 9; "" for any other index.
    const std::string &getBuyNum(int index) const;
    const std::string &getSellNum(int index) const;
    // The prefix followed by the ordinal of index 0 to 9; the prefix alone for any other index.
    std::string getCnNum(int index, const std::string &preStr) const;

    // A dashed separator between the two points.
    virtual void drawKSepLine(gfx::Context &context, gfx::Point p1, gfx::Point p2);
    // A solid separator between the two points; the flag is not used.
    virtual void drawThickKSepLine(gfx::Context &context, gfx::Point p1, gfx::Point p2, bool isVertLine);
    // The separator from (rect x + 1, y) to (rect right edge, y), solid or dashed.
    void drawKHorzLine(gfx::Context &context, gfx::Rect rect, float y, bool isThickLine);
    // The separator from (x, rect top) to (x, rect bottom), solid or dashed.
    void drawKVertLine(gfx::Context &context, gfx::Rect rect, float x, bool isThickLine);
};
