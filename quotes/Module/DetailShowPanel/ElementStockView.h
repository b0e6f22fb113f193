#pragma once

#include "Module/StockDataBaseMgnt/BoardElementsData.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/TableView.h"
#include "ui/View.h"

#include <string>

// One member of a board: its row number down a narrow strip, name over code, last price and change.
class ElementStockCell : public ui::TableCell {
public:
    explicit ElementStockCell(const std::string &identifier);
    void layoutSubviews() override;
    void SetCellBgColor(base::Ref<gfx::Color> colour);

    ui::Label &SNLabel() { return *m_SNLabel; }
    ui::Label &nameLabel() { return *m_nameLabel; }
    ui::Label &codeLabel() { return *m_codeLabel; }
    ui::Label &lastLabel() { return *m_lastLabel; }
    ui::Label &rangeLabel() { return *m_rangeLabel; }

private:
    base::Ref<ui::View> m_background;
    base::Ref<ui::Label> m_SNLabel, m_nameLabel, m_codeLabel, m_lastLabel, m_rangeLabel;
};

// Hears which member the user picked.
class ElementStockViewDelegate {
public:
    virtual ~ElementStockViewDelegate() = default;
    virtual base::Opt<void> ReturnStockMarketCode(const std::string &code, const std::string &name) {
        (void)code, (void)name;
        return base::notImplemented;
    }
};

// The member list of one board, slid in over the stock panel's board list (ElementBoardView makes
// it on the first board tap and keeps it, parked just right of its place while hidden). A title
// button with the board's name slides it out again. Rows come from its BoardElementsData: the first
// page when a board is chosen, the next one once less than one and a half screens of rows remain
// below those in view, and, on the detail screen's refresh tick, the rows in view again unless the
// user drags the list or it still glides. Eight rows fill a screen under the title.
class ElementStockView : public ui::View, public BoardElementsDataDelegate {
public:
    static constexpr const char *CellIdentifier = "elementStockCell";
    static constexpr const char *ObserverName = "ElementBoardViewNotify";
    static constexpr double SlideSeconds = 0.6;
    static constexpr float TitleHeight = 30;
    static constexpr int RowsPerScreen = 8;
    // The next page is asked while fewer rows than this many table heights remain past the top.
    static constexpr float NextPageScreens = 2.5f;

    explicit ElementStockView(gfx::Rect frame);
    ~ElementStockView() override;
    void setUp() override;

    // The title shows the name; the list now belongs to the board.
    void SetBoardName(const std::string &name, int boardID);
    // Asks the board's first page.
    void reqDataFirst();
    // The refresh tick: the rows in view again, unless the list is dragged or gliding.
    void reqDataOnTimer();
    void reqCurScreenData();
    void UpdateBoardElementArray(const base::Ref<StockQuoteList> &rows, bool isFirstGetQuotes) override;

    // Slides in from the parked frame to its place, or back out.
    void Show();
    void Hide();
    bool isShowing() const { return m_isShowing; }

    int currentBoardID() const { return m_currentBoardID; }
    float rowHeight() const { return m_rowHeight; }
    gfx::Rect oldFrame() const { return m_oldFrame; }
    ui::Button &boardNameBtn() { return *m_boardNameBtn; }
    ui::TableView &tableView() { return *m_tableView; }
    const base::Ref<StockQuoteList> &dataArray() const { return m_dataArray; }
    BoardElementsData &boardElementData() { return *m_boardElementData; }

    base::Weak<ElementStockViewDelegate> delegate;

private:
    struct Relay;
    void fill(ElementStockCell &cell, int row);
    void tapped(int row);
    void scrolled();
    void slide(gfx::Rect to);

    base::Ref<ui::TableView> m_tableView;
    base::Ref<ui::Button> m_boardNameBtn;
    base::Ref<Relay> m_relay;
    base::Ref<BoardElementsData> m_boardElementData;
    base::Ref<StockQuoteList> m_dataArray = base::make<StockQuoteList>();
    float m_rowHeight;
    gfx::Rect m_oldFrame;
    int m_currentBoardID = -1;
    bool m_isShowing = false;
    // The rows held when the next page was last asked: one request per page.
    size_t m_pageAskedAt = 0;
};
