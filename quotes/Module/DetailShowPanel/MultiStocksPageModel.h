#pragma once

#include "DataBase/NetData/StockQuoteInf.h"
#include "base/Value.h"
#include "gfx/Geometry.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The paging of the multi-stock chart grid without any drawing: the list of entries, the pool of
// 18 cells made once and reused, which pages are filled, where each cell sits, and which cell a
// reply from the owner belongs to. `MultiStocksShowView` drives it from its scroll view and acts
// on what its listener hears; tests drive it directly.
//
// Only the page on show and its two neighbours are ever filled, so 18 cells serve pages of up to
// six cells; a larger page leaves its last cells empty once three pages are filled. An entry is a
// dictionary with "MarketCode" and, once the owner has a quote, "basicInf" (a StockQuoteInf).
class MultiStocksPageModel {
public:
    static constexpr int CellCount = 18;
    // A cell in use carries its page plus this as its tag; a free cell carries 0.
    static constexpr int PageTagBase = 100;
    // A quote older than this (in seconds) is asked for again with the page's charts.
    static constexpr double StaleAge = 5.0;

    struct Cell {
        int tag = 0;
        int gridID = -1;
        std::string code;
        gfx::Rect frame;
        bool hidden = true;
        bool inUse() const { return tag != 0; }
    };
    // What the owner is asked for when a page comes on show.
    struct PageRequest {
        std::vector<base::Ref<StockQuoteInf>> records;
        int startid = 0;
        bool needReqBasicInf = false;
    };
    struct QuotesRequest {
        std::vector<std::string> codes;
        int startid = 0;
    };
    // A reply's cell and the record of its entry.
    struct Target {
        int cell;
        base::Ref<StockQuoteInf> record;
    };

    // What the view does for the model.
    class Listener {
    public:
        virtual ~Listener() = default;
        // A new list set the page count and cell size; `makePool` the first time.
        virtual void listReset(bool makePool) = 0;
        // The pages around `page` are about to be filled.
        virtual void pageWillFill(int page) = 0;
        // The cell now shows its entry (`gridID`) at its frame.
        virtual void cellFilled(int cell) = 0;
        // The cell was freed: hidden when a new list freed it, else left where it was.
        virtual void cellFreed(int cell) = 0;
        // Move the content to x; the view reports the move back through didScroll.
        virtual void scrollContent(float x) = 0;
        virtual void requestPageData(const PageRequest &request) = 0;
    };

    explicit MultiStocksPageModel(Listener &listener) : listener_(listener) {}

    // Geometry; takes effect at the next setList.
    int rowNum = 1, colNum = 1;
    float topSpace = 0, belowSpace = 0, leftRightSpace = 0, midVerSpace = 0, midHorSpace = 0;

    // The view's size: one page is one view width.
    void setViewSize(gfx::Size size) { viewSize_ = size; }
    // Replaces the list and shows page 0 or the page holding the current entry; the first list
    // makes the pool.
    void setList(base::Array list, bool loadFirstPage);
    // The content moved to x (any source: a finger, a programmatic offset).
    void didScroll(float x);
    // The content came to rest at x: the offset to snap to. The view snaps there and then asks
    // for the page's data (requestCurrentPage).
    float restOffset(float x) const;
    int pageAt(float x) const;
    void requestCurrentPage() { reqCurScreenData(currentPage_); }
    // Asks the owner (through requestPageData) for the records and charts of a page's entries
    // that have a record, flagging quotes older than StaleAge; nothing when none has a code.
    void reqCurScreenData(int page);
    // The timer refresh: stamps the records of the page on show, answers their codes if any.
    std::optional<QuotesRequest> quotesRequest();

    // Cells to refill from records `first` to `first + count - 1` (within the list).
    std::vector<Target> quoteTargets(int first, int count) const;
    // The cell of a chart reply for the code, when its entry still shows that code.
    std::optional<Target> chartTarget(const std::string &code) const;
    // The record of an in-use cell's entry when it still has the cell's code.
    base::Ref<StockQuoteInf> recordOfCell(int cell) const;
    base::Ref<StockQuoteInf> record(int index) const;
    std::string codeAt(int index) const;

    int pageSize() const { return rowNum * colNum; }
    int pageCount() const { return int(pageFilled_.size()); }
    bool pageFilled(int page) const { return pageFilled_.at(size_t(page)) != 0; }
    int currentPage() const { return currentPage_; }
    int currentStockIndex() const { return currentStockIndex_; }
    bool cellsMade() const { return cellsMade_; }
    const Cell &cell(int i) const { return cells_.at(size_t(i)); }
    float gridWidth() const { return gridWidth_; }
    float gridHeight() const { return gridHeight_; }
    gfx::Size contentSize() const { return {viewSize_.w * float(pageCount()), viewSize_.h}; }
    const base::Array &list() const { return list_; }
    int entryCount() const { return int(list_.size()); }

private:
    void scrollToPage(int page);
    void refreshAllPages(int page, bool mustRefresh);
    void refreshPage(int page);
    void loadGridItem(int index);
    void freeCell(int i, bool hide);
    // Entries of a page: [first, last).
    int pageFirst(int page) const { return page * pageSize(); }
    int pageEnd(int page) const { return std::min((page + 1) * pageSize(), entryCount()); }

    Listener &listener_;
    gfx::Size viewSize_;
    base::Array list_;
    std::array<Cell, CellCount> cells_{};
    std::vector<char> pageFilled_;
    bool cellsMade_ = false;
    float gridWidth_ = 0, gridHeight_ = 0;
    float offsetX_ = 0;
    int currentPage_ = 0;
    int currentStockIndex_ = 0;
    int scrollPriorPage_ = 0;
};
