#pragma once

#include "Components/CMPopoverDetailView.h"
#include "Components/CMViewController.h"
#include "DataBase/NetData/StkMinLineItem.h"
#include "DataBase/NetData/StockQuoteInf.h"

#include <string>
#include <vector>

// The content of a popover about one index: its name and newest price in a CMPopoverDetailView.
// Made with the index's quote record, shown when the view loads, and refreshed by its owner with
// newer ones. No screen shows it yet.
class CMPopDetailContentController : public CMViewController {
public:
    static constexpr const char *NewPriceFormat = "最新价:%d";

    explicit CMPopDetailContentController(base::Ref<StockQuoteInf> info);

    // The code of the latest record; "" without one.
    std::string code() const { return m_info ? m_info->code : std::string(); }
    // Shows the record's name and newest price (as received, unscaled); a null record changes nothing.
    void Update(const base::Ref<StockQuoteInf> &info);
    // The minute line is not drawn: only the record is shown.
    void Update(const base::Ref<StockQuoteInf> &info,
                const std::vector<base::Ref<StkMinLineItem>> &minLineList);

    void loadView() override;
    void viewDidLoad() override;
    CMPopoverDetailView &detailView();

private:
    void show();

    base::Ref<StockQuoteInf> m_info;
};
