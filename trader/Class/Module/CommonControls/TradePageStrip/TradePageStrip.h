#pragma once

#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <string>

// What the owner of a page strip hears: the two page buttons. Optional.
class TradePageStripDelegate {
public:
    virtual ~TradePageStripDelegate() = default;
    virtual base::Opt<void> prevPageAction() { return base::notImplemented; }
    virtual base::Opt<void> nextPageAction() { return base::notImplemented; }
};

// The page strip of the trade query screens: the text of the page on show ("从1到15条(共40条)",
// empty at first) and the previous-page and next-page buttons. The owner pages its query object
// from the buttons and writes the text it answers. The strip spans its row; controls the owner
// adds to the row later (a refresh button) lie over it.
//
// Rows are numbered across pages: row r (from 0) of page p (from 0) is p × 15 + r + 1.
class TradePageStrip : public ui::View {
public:
    static constexpr float kHeight = 28, kButtonWidth = 50;
    static constexpr int kRowsPerPage = 15;

    // `frame` is the row; the text starts at x 3 and is `textWidth` wide, the buttons lie at
    // `prevX` and `nextX` inside the row.
    TradePageStrip(gfx::Rect frame, float textWidth, float prevX, float nextX);
    void setUp() override;

    void setPageInfo(const std::string &text) { m_pageInfoLabel->setText(text); }
    std::string pageInfo() const { return m_pageInfoLabel->text(); }

    ui::Label &pageInfoLabel() { return *m_pageInfoLabel; }
    ui::Button &prevButton() { return *m_prevButton; }
    ui::Button &nextButton() { return *m_nextButton; }

    // The number of row `row` of page `page`, both counted from 0.
    static int SerialNumber(int page, int row) { return page * kRowsPerPage + row + 1; }
    // The decimal digits of n, each followed by a line break, so that they stand one above the
    // other in a narrow label: 16 gives "1\n6\n".
    static std::string FormatSerialNumberVertical(int n);

    base::Weak<TradePageStripDelegate> delegate;

private:
    float m_textWidth, m_prevX, m_nextX;
    base::Ref<ui::Label> m_pageInfoLabel;
    base::Ref<ui::Button> m_prevButton, m_nextButton;
};
