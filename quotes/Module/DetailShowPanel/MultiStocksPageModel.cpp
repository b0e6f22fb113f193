#include "Module/DetailShowPanel/MultiStocksPageModel.h"

#include "Common/TimeFunc.h"

#include <algorithm>
#include <cmath>

void MultiStocksPageModel::setList(base::Array list, bool loadFirstPage) {
    list_ = std::move(list);
    const int n = pageSize();
    gridWidth_ = (viewSize_.w - 2 * leftRightSpace - float(colNum - 1) * midHorSpace) / float(colNum);
    gridHeight_ = (viewSize_.h - topSpace - float(rowNum - 1) * midVerSpace - belowSpace) / float(rowNum);
    pageFilled_.assign(size_t((entryCount() + n - 1) / n), 0);

    const bool firstList = !cellsMade_;
    cellsMade_ = true;
    listener_.listReset(firstList);
    bool scrolled = false;
    if (!firstList) {
        for (int i = 0; i < CellCount; ++i)
            freeCell(i, true);
        currentPage_ = loadFirstPage ? 0 : currentStockIndex_ / n;
        currentStockIndex_ = currentPage_ * n;
        const float x = float(currentPage_) * viewSize_.w;
        if (x != offsetX_) {
            listener_.scrollContent(x);
            scrolled = true;
        }
    }
    if (loadFirstPage) {
        scrollToPage(0);
        reqCurScreenData(0);
    } else {
        if (!scrolled)
            refreshAllPages(currentPage_, true);
        reqCurScreenData(currentPage_);
    }
}

void MultiStocksPageModel::didScroll(float x) {
    offsetX_ = x;
    currentPage_ = pageAt(x);
    currentStockIndex_ = currentPage_ * pageSize();
    if (currentPage_ != scrollPriorPage_) {
        scrollToPage(currentPage_);
        scrollPriorPage_ = currentPage_;
    }
}

int MultiStocksPageModel::pageAt(float x) const {
    const float w = viewSize_.w;
    return w > 0 ? int(std::floor((x + w / 2) / w)) : 0;
}

float MultiStocksPageModel::restOffset(float x) const {
    const float w = viewSize_.w;
    return w > 0 ? (std::floor((x - w / 2) / w) + 1) * w : 0;
}

void MultiStocksPageModel::scrollToPage(int page) {
    listener_.pageWillFill(page);
    refreshAllPages(page, false);
}

void MultiStocksPageModel::refreshAllPages(int page, bool mustRefresh) {
    if (page < 0 || page >= pageCount())
        return;
    for (int q = 0; q < pageCount(); ++q)
        if (std::abs(q - page) > 1)
            pageFilled_[size_t(q)] = 0;
    for (int i = 0; i < CellCount; ++i)
        if (cells_[size_t(i)].inUse() && std::abs(cells_[size_t(i)].tag - PageTagBase - page) > 1)
            freeCell(i, false);
    for (int q = std::max(page - 1, 0); q <= std::min(page + 1, pageCount() - 1); ++q)
        if (!pageFilled_[size_t(q)] || mustRefresh)
            refreshPage(q);
}

void MultiStocksPageModel::refreshPage(int page) {
    for (int i = pageFirst(page); i < pageEnd(page); ++i)
        loadGridItem(i);
    pageFilled_[size_t(page)] = 1;
}

void MultiStocksPageModel::loadGridItem(int index) {
    auto free = std::find_if(cells_.begin(), cells_.end(), [](const Cell &c) { return !c.inUse(); });
    if (free == cells_.end())
        return;
    const int n = pageSize();
    const int page = index / n, k = index % n, row = k / colNum, column = k % colNum;
    free->tag = page + PageTagBase;
    free->gridID = index;
    free->hidden = false;
    free->code = codeAt(index);
    free->frame = {leftRightSpace + float(page) * viewSize_.w + float(column) * (gridWidth_ + midHorSpace),
                   topSpace + float(row) * (gridHeight_ + midVerSpace), gridWidth_, gridHeight_};
    listener_.cellFilled(int(free - cells_.begin()));
}

void MultiStocksPageModel::freeCell(int i, bool hide) {
    Cell &c = cells_[size_t(i)];
    c.tag = 0;
    c.gridID = -1;
    c.hidden = c.hidden || hide;
    listener_.cellFreed(i);
}

void MultiStocksPageModel::reqCurScreenData(int page) {
    const double now = TimeFunc::getCurTick();
    PageRequest request;
    bool first = true;
    for (int i = pageFirst(page); i < pageEnd(page); ++i) {
        auto r = record(i);
        if (!r)
            continue;
        request.needReqBasicInf = request.needReqBasicInf || now - r->updateTick > StaleAge;
        if (r->code.empty())
            continue;
        request.records.push_back(r);
        if (first)
            request.startid = i;
        first = false;
    }
    if (!request.records.empty())
        listener_.requestPageData(request);
}

std::optional<MultiStocksPageModel::QuotesRequest> MultiStocksPageModel::quotesRequest() {
    const double now = TimeFunc::getCurTick();
    QuotesRequest request;
    bool first = true;
    for (int i = pageFirst(currentPage_); i < pageEnd(currentPage_); ++i) {
        auto r = record(i);
        if (!r)
            continue;
        r->updateTick = now;
        if (r->code.empty())
            continue;
        request.codes.push_back(r->code);
        if (first)
            request.startid = i;
        first = false;
    }
    if (request.codes.empty())
        return std::nullopt;
    return request;
}

std::vector<MultiStocksPageModel::Target> MultiStocksPageModel::quoteTargets(int first, int count) const {
    std::vector<Target> targets;
    if (count < 1)
        return targets;
    for (int i = std::max(first, 0); i < std::min(first + count, entryCount()); ++i) {
        auto r = record(i);
        if (!r || r->code.empty())
            continue;
        auto c = std::find_if(cells_.begin(), cells_.end(),
                              [&](const Cell &cell) { return cell.inUse() && cell.code == r->code; });
        if (c != cells_.end())
            targets.push_back({int(c - cells_.begin()), r});
    }
    return targets;
}

std::optional<MultiStocksPageModel::Target> MultiStocksPageModel::chartTarget(const std::string &code) const {
    auto c = std::find_if(cells_.begin(), cells_.end(),
                          [&](const Cell &cell) { return cell.inUse() && cell.code == code; });
    if (c == cells_.end())
        return std::nullopt;
    const int i = int(c - cells_.begin());
    auto r = recordOfCell(i);
    if (!r)
        return std::nullopt;
    return Target{i, r};
}

base::Ref<StockQuoteInf> MultiStocksPageModel::recordOfCell(int i) const {
    const Cell &c = cells_.at(size_t(i));
    auto r = c.inUse() ? record(c.gridID) : nullptr;
    return r && r->code == c.code ? r : nullptr;
}

base::Ref<StockQuoteInf> MultiStocksPageModel::record(int index) const {
    return index >= 0 && index < entryCount() ? list_[size_t(index)]["basicInf"].objectAs<StockQuoteInf>()
                                              : nullptr;
}

std::string MultiStocksPageModel::codeAt(int index) const {
    return list_.at(size_t(index))["MarketCode"].stringValue();
}
