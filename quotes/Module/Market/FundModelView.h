#pragma once

#include "Module/Market/BondModelView.h"

using FundModelViewDelegate = MarketListDelegate;

// The list of the market screen's fund tab, built and behaving as the bond list, for one fund market
// chosen from its menu. The market's class picks one of three column sets, as the data source
// picks the kind of list: exchange-traded funds (1) quoted as stocks, open-end funds (2, classes
// 2300–2399) by net value and growth, money-market funds (3, class 2305) by income and 7-day
// yield. The open-end and money lists sort by their own sort ids with inverted order codes, and are
// never refreshed on the timer.
class FundModelView : public BondModelView {
public:
    static constexpr int TabIndex = 3;
    static constexpr int ClassID = 14;
    static constexpr const char *ObserverName = "FundModelViewNotify";
    static constexpr const char *ModuleName = "FundModel";
    static constexpr const char *DefaultMarketTitle = "上证基金";
    static constexpr const char *MenuFile = "FundModelMenu";
    enum TitleClass { ExchangeFunds = 1, OpenFunds = 2, MoneyFunds = 3 };
    static constexpr int MoneyFundClassID = 2305;

    explicit FundModelView(gfx::Rect frame);

    // The column set a class lists under.
    static TitleClass titleClassFor(int classID);
    static base::Array makeColumnArray(TitleClass titleClass);
    void makeSHSZFundTitleColumn() { switchTitleClass(ExchangeFunds); }
    void makeOpenFundTitleColumn() { switchTitleClass(OpenFunds); }
    void makeCurrFundTitleColumn() { switchTitleClass(MoneyFunds); }

    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override;
    void didSelectRow(ui::IndexPath path) override;
    bool needRefreshCurScreen() override { return m_curTitleClass == ExchangeFunds; }
    bool getVisibleIndex(int &first, int &count) override;

    base::Opt<void> ReturnSelectedMarket(const base::Value &row) override;
    base::Opt<void> ClickHeaderAction(GeneralHeaderView &header, int column, int status) override;

    int curTitleClass() const { return m_curTitleClass; }

private:
    // True when the set changed and the header was made again.
    bool switchTitleClass(TitleClass titleClass);

    int32_t m_curTitleClass = ExchangeFunds;
};
