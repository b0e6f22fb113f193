#pragma once

#include "DataBase/NetData/StkMinLineItem.h"
#include "DataBase/NetData/StockQuoteInf.h"
#include "Module/CommonControls/TableView/StyleTableBaseView.h"

#include <array>

// The tick list of the stock panel: time, price and volume of each deal, newest at the top. Within
// one minute only the newest tick shows the full time and the older ones their seconds. Prices are
// coloured against the previous close, volumes by the side that started the deal. It keeps the
// security's record (not owned: the data centre keeps it) and the position of its newest tick,
// which the tick pager starts from.
class StrikeDetailView : public StyleTableBaseView {
public:
    static constexpr const char *CellIdentifier = "StrikeDetailListCell";

    StrikeDetailView(gfx::Rect frame, base::Weak<base::Object> controller);

    // Ticks oldest first; `lastPos` the position of the newest in the day's sequence.
    void Update(const base::Ref<StockBasicInf> &basicInf, const Rows *strikeDetailList, int lastPos);
    int strikeLastPos() const { return m_strikeLastPos; }
    void setStrikeLastPos(int pos) { m_strikeLastPos = pos; }

protected:
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, size_t row) override;
    // The volume text of a tick.
    virtual std::string volumeText(const StkStrikeDetailItem &tick, const StockBasicInf &basic) const;
    // Columns after the volume; none here.
    virtual void fillMore(ui::TableCell &cell, const StkStrikeDetailItem &tick) const {
        (void)cell, (void)tick;
    }

private:
    base::Weak<StockBasicInf> m_basicInf;
    int m_strikeLastPos = -1;
};

// The tick list of the futures panel: with a title bar, and after the volume the change of open
// interest and whether the deal opened or closed positions.
class FutureStrikeDetailView : public StrikeDetailView {
public:
    static constexpr std::array<const char *, 8> OpenCloseTexts{"多开", "多平", "空开", "空平",
                                                                "双开", "双平", "多换", "空换"};

    FutureStrikeDetailView(gfx::Rect frame, base::Weak<base::Object> controller);

    // The text of a deal type: 1 to 8 name the open/close kind, anything else "--".
    static std::string openCloseText(int dealType);

protected:
    std::string volumeText(const StkStrikeDetailItem &tick, const StockBasicInf &basic) const override;
    void fillMore(ui::TableCell &cell, const StkStrikeDetailItem &tick) const override;
};
