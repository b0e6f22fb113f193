#pragma once

#include "DataBase/NetData/StockQuoteInf.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableView.h"
#include "ui/View.h"

#include <string>
#include <vector>

// Hears the price of the order-book level the user tapped, exactly as shown ("--" too).
class BuySellPanelViewDelegate {
public:
    virtual ~BuySellPanelViewDelegate() = default;
    virtual base::Opt<void> ReturnSelBuySellValue(const std::string &price) {
        (void)price;
        return base::notImplemented;
    }
};

// One level of the order book: side ("卖" or "买"), level number, price and volume.
class BuySellPanelCell : public ui::TableCell {
public:
    explicit BuySellPanelCell(const std::string &identifier);

    void SetLabelTitle(const std::string &side, const std::string &level);
    // The price's colour from its difference to the previous close.
    void SetValueUpdown(int difference);
    void layoutSubviews() override;

    ui::Label &titleLabel() { return *m_titleLabel; }
    ui::Label &titleTextLabel() { return *m_titleTextLabel; }
    ui::Label &valueLabel1() { return *m_valueLabel1; }
    ui::Label &valueLabel2() { return *m_valueLabel2; }

private:
    base::Ref<ui::ImageView> m_backgroundImage;
    base::Ref<ui::Label> m_titleLabel, m_titleTextLabel, m_valueLabel1, m_valueLabel2;
};

// The 2-point gap between the ask and the bid half; it draws nothing.
class BuySellPanelHeader : public ui::View {
public:
    explicit BuySellPanelHeader(gfx::Rect frame);

private:
    base::Ref<ui::ImageView> m_backgroundImage;
    base::Ref<ui::Label> m_titleLabel;
};

// The order book of one security: N ask levels (N down to 1) above N bid levels (1 up to N), each
// with side, level number, price coloured against the previous close, and volume; levels without
// orders read "--". The rows fill the view exactly and never scroll. The stock panel and the pop-up
// window show 10 levels, the futures panel and the trading screen's order panel 5; a tap hands the
// level's price to the delegate (the order form).
class BuySellPanelView : public ui::View {
public:
    static constexpr const char *CellIdentifier = "grenresIdentifier";
    static constexpr int MaxLevels = 10;
    static constexpr float HeaderHeight = 2;

    explicit BuySellPanelView(gfx::Rect frame);
    ~BuySellPanelView() override;
    void setUp() override;
    void layoutSubviews() override;

    // Levels per side, 1 to 10 (others are refused); the rows share the height evenly.
    void SetBuySellNum(int levels);
    // Shows the record (kept) and reloads.
    void SetBuySellData(const base::Ref<StockBasicInf> &record);
    // An empty record: every level reads "--".
    void clearView();

    const base::Ref<StockBasicInf> &stockInfo() const { return m_stockInfo; }
    void setStockInfo(base::Ref<StockBasicInf> record) { m_stockInfo = std::move(record); }
    int fieldNum() const { return m_fieldNum; }
    float tableRowHeight() const { return m_tableRowHeight; }
    ui::TableView &tableView() { return *m_tableView; }

    base::Weak<BuySellPanelViewDelegate> delegate;

private:
    struct Relay;
    void fill(BuySellPanelCell &cell, int section, int row) const;
    void tapped(int section, int row);

    base::Ref<ui::TableView> m_tableView;
    base::Ref<Relay> m_relay;
    int m_fieldNum = 5;
    float m_tableRowHeight = 28;
    base::Ref<StockBasicInf> m_stockInfo;
    std::vector<std::string> m_sellFieldArray, m_buyFieldArray;
};
