#pragma once

#include "MiniMinLineClass.h"

#include "gfx/Image.h"

#include <string>

// One cached intraday picture of a list row (not a view: rows show its `image`). It keeps the
// row's snapshot and minutes in a `MiniMinLineClass` drawing every fifth minute and renders a new
// picture only when an update changes the chart's data. `MiniViewManager` makes and evicts them;
// the list screens hand the minute replies in. Main thread only.
class MiniMinLineView : public base::Object {
public:
    static constexpr int32_t DefaultWidth = 300, DefaultHeight = 70;
    static constexpr int DrawStep = 5;

    explicit MiniMinLineView(int32_t height = DefaultHeight);

    // Each passes its data to the chart and re-renders when the chart reports a change.
    void Update(base::Ref<StockQuoteInf> basicInf, base::Ref<MinLineList> mlineList);
    void UpdateBasicInf(base::Ref<StockQuoteInf> basicInf);
    void UpdateMinLine(base::Ref<MinLineList> mlineList);

    // When the minutes were last asked for or handed in (TimeFunc::getCurTick); 0 for never.
    double updateTick = 0;
    // Pinned pictures (a list's header chart) are never evicted.
    bool canRemove = true;

    const base::Ref<gfx::Image> &image() const { return m_image; }
    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    void setHeight(int32_t height) { m_height = height; }
    const std::string &code() const { return m_code; }
    void setCode(std::string code) { m_code = std::move(code); }
    const base::Ref<StockQuoteInf> &basicInf() const { return m_basicInf; }
    void setBasicInf(base::Ref<StockQuoteInf> basicInf) { m_basicInf = std::move(basicInf); }
    MiniMinLineClass &mobj() { return *m_mobj; }

private:
    // Draws the chart into a bitmap of the picture's size, y growing downwards.
    void createImage();

    base::Ref<gfx::Image> m_image;
    int32_t m_width = DefaultWidth;
    int32_t m_height;
    std::string m_code;
    base::Ref<StockQuoteInf> m_basicInf;
    base::Ref<MiniMinLineClass> m_mobj;
};
