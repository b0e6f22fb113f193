#include "Module/Market/FundModelView.h"

#include "Module/Market/QuoteRows.h"

#include "Common/Util.h"
#include "DataBase/NetData/FundQuoteInf.h"
#include "DataBase/NetData/StockInterface.h"
#include "Module/StockDataBaseMgnt/MarketQuotePack.h"

namespace {

using QuoteRows::column;

constexpr int RiseColumn = 3;
// The start sort of every set: its first value column (rise, latest net value, income), descending.
constexpr int StartSortID = 1;

std::string listCode(const std::string &code) {
    return Util::getNumCode(code);
}

void fillOpenFundRow(GeneralCell &cell, int row, const OpenFundQuoteInf &fund, const base::Array &columns) {
    base::Array values{std::to_string(row + 1),
                       base::Dict{{"StockName", fund.name}, {"StockCode", listCode(fund.code)}}};
    for (size_t i = 2; i < columns.size(); ++i)
        values.add(fund.FormatValue(int32_t(columns[i]["ColID"].intValue())));
    cell.SetValueArray(values);
    cell.SetTextColorAtIndex(3, fund.lastPrice - fund.priorLastPrice);
    cell.SetTextColorAtIndex(4, fund.finalPrice - fund.priorFinalPrice);
    cell.SetTextColorAtIndex(8, fund.dayIncRate);
    cell.SetTextColorAtIndex(9, fund.weekIncRate);
    cell.SetTextColorAtIndex(10, fund.monthIncRate);
    cell.SetTextColorAtIndex(11, fund.yearIncRate);
}

void fillMoneyFundRow(GeneralCell &cell, int row, const CurrencyFundQuoteInf &fund,
                      const base::Array &columns) {
    base::Array values{std::to_string(row + 1),
                       base::Dict{{"StockName", fund.name}, {"StockCode", listCode(fund.code)}}};
    for (size_t i = 2; i < columns.size(); ++i)
        values.add(fund.FormatValue(int32_t(columns[i]["ColID"].intValue())));
    cell.SetValueArray(values);
}

} // namespace

FundModelView::FundModelView(gfx::Rect frame)
    : BondModelView(frame,
                    {TabIndex, ClassID, ObserverName, ModuleName, DefaultMarketTitle, MenuFile,
                     &MarketProcessMarks::fundColumnHeaderMarked},
                    makeColumnArray(ExchangeFunds)) {}

FundModelView::TitleClass FundModelView::titleClassFor(int classID) {
    if (classID == MoneyFundClassID)
        return MoneyFunds;
    if (classID >= MarketQuotePack::OpenFundFirstClass && classID <= MarketQuotePack::OpenFundLastClass)
        return OpenFunds;
    return ExchangeFunds;
}

base::Array FundModelView::makeColumnArray(TitleClass titleClass) {
    base::Array columns{column("No.", -1, 39, false, "INDEX"), column(" 名称", 9, 91, true, "NAME")};
    if (titleClass == ExchangeFunds) {
        base::Array stocks = BondModelView::makeColumnArray();
        for (size_t i = 2; i < stocks.size(); ++i) {
            stocks[i].dict()->set("ColWidth", 95);
            columns.add(stocks[i]);
        }
        columns.add(column("委比 ", 26, 95, true));
    } else if (titleClass == OpenFunds) {
        for (base::Value entry : {column("当期日期 ", 601, 89, false), column("最新净值 ", 603, 89, true),
                                  column("累计净值 ", 604, 89, true), column("上期日期 ", 602, 89, false),
                                  column("上期净值 ", 605, 89, false), column("上期累计 ", 606, 89, false),
                                  column("日增长率 ", 607, 89, true), column("周增长率 ", 608, 89, true),
                                  column("月增长率 ", 609, 89, true), column("年增长率 ", 610, 89, true)})
            columns.add(entry);
    } else {
        for (base::Value entry :
             {column("当期日期 ", 601, 140, false), column("万份收益 ", 611, 140, true),
              column("七日收益率 ", 612, 140, true), column("上期日期 ", 602, 140, false),
              column("上期万份收益 ", 613, 140, false), column("上期七日收益率 ", 614, 140, false)})
            columns.add(entry);
    }
    return columns;
}

bool FundModelView::switchTitleClass(TitleClass titleClass) {
    m_curTitleClass = titleClass;
    if (m_titleColumn && m_titleColumn->titleClass == titleClass)
        return false;
    m_columnArray = makeColumnArray(titleClass);
    makeTitleColumn();
    m_titleColumn->titleClass = titleClass;
    return true;
}

base::Ref<ui::TableCell> FundModelView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    auto cell = std::dynamic_pointer_cast<GeneralCell>(table.dequeueReusableCell(ColumnRowIdentifier));
    if (!cell)
        cell = base::make<GeneralCell>(ui::TableCell::Style::Default, ColumnRowIdentifier,
                                       gfx::Rect{0, 0, bounds().width(), m_tableGenRowHeight});
    cell->ResetFormatArray(m_columnArray, m_curTitleClass);
    base::Ref<base::Object> record = objectAt(path.row);
    if (auto stock = std::dynamic_pointer_cast<StockQuoteInf>(record)) {
        QuoteRows::fillColumnRow(*cell, path.row, *stock, m_columnArray, false);
        return cell;
    }
    QuoteRows::fillBackground(*cell, path.row);
    if (auto open = std::dynamic_pointer_cast<OpenFundQuoteInf>(record))
        fillOpenFundRow(*cell, path.row, *open, m_columnArray);
    else if (auto money = std::dynamic_pointer_cast<CurrencyFundQuoteInf>(record))
        fillMoneyFundRow(*cell, path.row, *money, m_columnArray);
    return cell;
}

void FundModelView::didSelectRow(ui::IndexPath path) {
    base::Ref<base::Object> record = objectAt(path.row);
    auto d = delegate.lock();
    if (!record || !d)
        return;
    std::string code;
    if (auto stock = std::dynamic_pointer_cast<StockQuoteInf>(record))
        code = stock->code;
    else if (auto open = std::dynamic_pointer_cast<OpenFundQuoteInf>(record))
        code = open->code;
    else if (auto money = std::dynamic_pointer_cast<CurrencyFundQuoteInf>(record))
        code = money->code;
    base::Array rows;
    for (int i = 0; i < rowCount(); ++i)
        rows.add(base::Value(objectAt(i)));
    d->ReturnStockCodeMarket(code, ModuleName, path.row, rows);
}

bool FundModelView::getVisibleIndex(int &first, int &count) {
    return needRefreshCurScreen() && MarketTableBaseView::getVisibleIndex(first, count);
}

// A change of column set starts the new list on its own first value column, descending in the
// set's own order code, so that no list asks with a field of another kind; the sort is set before
// the class so that a single request goes out.
base::Opt<void> FundModelView::ReturnSelectedMarket(const base::Value &row) {
    if (switchMarketMenuPopoverController())
        switchMarketMenuPopoverController()->dismiss(true);
    int classID = int(row["CLASS_ID"].intValue());
    SetCurrentSelectedMarketTitle(row["MENU_NAME"].stringValue(), classID);
    if (switchTitleClass(titleClassFor(classID))) {
        quotesData().SetSortID(StartSortID);
        quotesData().SetSortType(m_curTitleClass == ExchangeFunds ? 0 : 1);
        m_titleColumn->SetSelectedHeader(RiseColumn);
    }
    UpdateTableDataSource(nullptr, true);
    resetQuotesClassId(classID);
    if (auto target = parentControllerTarget.lock())
        target->SetCurrMarket(row, curTabIndex);
    return {};
}

base::Opt<void> FundModelView::ClickHeaderAction(GeneralHeaderView &, int column, int status) {
    m_titleColumn->SetSelectedHeader(column);
    if (column < 0 || column >= int(m_columnArray.size()))
        return {};
    base::Value entry = m_columnArray[size_t(column)];
    if (!entry["Enabled"].boolValue() || entry["ColID"].isNull())
        return {};
    int32_t field = int32_t(entry["ColID"].intValue());
    if (m_curTitleClass == ExchangeFunds)
        resetQuotesSortId(field, status ? 1 : 0);
    else if (m_curTitleClass == OpenFunds)
        resetQuotesSortId(StockInterface::GetOpenFundSortID(field), status ? 0 : 1);
    else
        resetQuotesSortId(StockInterface::GetCurrFundSortID(field), status ? 0 : 1);
    return {};
}
