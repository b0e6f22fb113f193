#pragma once

#include "DataBase/NetData/StockQuoteInf.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableView.h"
#include "ui/View.h"

#include <array>
#include <string>

// One row of the order-size table: swatch, class title, the class's volume and its share.
class TigerDetailCell : public ui::TableCell {
public:
    explicit TigerDetailCell(const std::string &identifier);
    void layoutSubviews() override;

    ui::ImageView &backgroundImage() { return *m_backgroundImage; }
    ui::Label &tagLabel() { return *m_tagLabel; }
    ui::Label &titleLabel() { return *m_titleLabel; }
    ui::Label &valueLabel1() { return *m_valueLabel1; }
    ui::Label &valueLabel2() { return *m_valueLabel2; }

private:
    base::Ref<ui::ImageView> m_backgroundImage;
    base::Ref<ui::Label> m_tagLabel, m_titleLabel, m_valueLabel1, m_valueLabel2;
};

// The title bar of the buy or the sell section of the order-size table.
class TigerDetailHeader : public ui::View {
public:
    explicit TigerDetailHeader(gfx::Rect frame);

    ui::Label &titleLabel() { return *m_titleLabel; }
    ui::Label &unitLabel() { return *m_unitLabel; }

private:
    base::Ref<ui::ImageView> m_backgroundImage;
    base::Ref<ui::Label> m_titleLabel, m_unitLabel;
};

// The "龙虎盘" tab of the stock panel: how the day's executed volume divides into small, medium,
// large and extra-large orders, for buy orders (right half of the ring, reds) and sell orders
// (left half, greens), with the volume in the ring's centre and a table of each class's volume
// and share below. The stock detail screen hands it the record of every order-size reply.
class TigerSubDetailView : public ui::View {
public:
    struct Degree {
        float start = 0, end = 0;
        bool operator==(const Degree &) const = default;
    };
    using Rates = std::array<int32_t, 4>;
    using Degrees = std::array<Degree, 4>;

    static constexpr int beginGreenTag = 1380, beginRedTag = 1400;
    static constexpr const char *CellIdentifier = "grenresIdentifier";

    // The four class rates of one side (1/10,000 of the volume), small first. Servers have sent
    // rates out of range: each is held to 0–10,000 and three summing past 10,000 are scaled down
    // to sum 10,000, so no slice runs backwards and no share or volume turns negative.
    static Rates SideRates(int32_t zd, int32_t dd, int32_t tdd);

    explicit TigerSubDetailView(gfx::Rect frame);
    ~TigerSubDetailView() override;
    void setUp() override;

    // Keeps the record, shows its volume and redraws the ring and the table.
    void SetTigerData(const base::Ref<StockBasicInf> &record);
    // An empty record: each half one small-order slice, every value 0.
    void clearView();

    const base::Ref<StockBasicInf> &stockInfo() const { return m_stockInfo; }
    const Degrees &redDegreeArray() const { return m_redDegreeArray; }
    const Degrees &greenDegreeArray() const { return m_greenDegreeArray; }
    // The artwork each slice shows, by slice index.
    const std::array<std::string, 4> &redImageNames() const { return m_redImageNames; }
    float tableRowHeight() const { return m_tableRowHeight; }
    ui::TableView &valueTableView() { return *m_valueTableView; }
    ui::Label &volLabel() { return *m_volLabel; }

private:
    struct Relay;
    void initData();
    void buildView();
    void drawSlice(int tag, const std::string &artwork, Degree degree);
    void fill(TigerDetailCell &cell, int section, int row) const;

    gfx::Point m_arcCenter;
    gfx::Size m_imageSize;
    float m_radius = 0;
    Degrees m_redDegreeArray{}, m_greenDegreeArray{};
    std::array<std::string, 4> m_redImageNames;
    float m_tableRowHeight = 0;
    base::Ref<ui::TableView> m_valueTableView;
    base::Ref<Relay> m_relay;
    Rates m_buyArray{}, m_sellArray{};
    std::array<base::Ref<gfx::Color>, 4> m_colorBuyArray, m_colorSellArray;
    std::array<std::string, 4> m_titleArray;
    base::Ref<StockBasicInf> m_stockInfo;
    base::Ref<ui::Label> m_volLabel;
};
