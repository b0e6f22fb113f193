#include "Components/CMAlarmView/CMAlarmMainPanelCell.h"

#include <cstdlib>

namespace {

enum Tag { LastTag = 1, UpDownTag, UpStopTag, DownStopTag, TurnoverTag };

struct Field {
    const char *caption;
    const char *key;
};
constexpr Field kPanelFields[] = {{"最新:", "LAST"},
                                  {"涨跌:", "UPDOWN"},
                                  {"涨停:", "UPSTOP"},
                                  {"跌停:", "DOWNSTOP"},
                                  {"换手率:", "TURNOVER"}};

base::Ref<gfx::Color> fallColour() {
    return gfx::Color::rgba(0, 0.6f, 0);
}

} // namespace

CMAlarmMainPanelCell::CMAlarmMainPanelCell(gfx::Rect frame) : CMAlarmBaseCell(kIdentifier, frame) {
    for (int tag = LastTag; tag <= TurnoverTag; ++tag)
        genValueFieldWithFrame({}, kPanelFields[tag - 1].caption, tag);
    setValueAtTag(UpStopTag, std::nullopt, gfx::Color::red());
    setValueAtTag(DownStopTag, std::nullopt, fallColour());
    setValueAtTag(TurnoverTag, std::nullopt, gfx::Color::rgba(0.85f, 0.6f, 0));
}

void CMAlarmMainPanelCell::setPanelValue(const base::Value &quote) {
    m_nameLabel->setText(quote["STOCKNAME"].stringValue());
    m_codeLabel->setText(quote["STOCKCODE"].stringValue());
    const double rate = std::strtod(quote["RATE"].stringValue().c_str(), nullptr);
    base::Ref<gfx::Color> trend = rate > 0   ? gfx::Color::red()
                                  : rate < 0 ? fallColour()
                                             : gfx::Color::black();
    for (int tag = LastTag; tag <= TurnoverTag; ++tag)
        setValueAtTag(tag, quote[kPanelFields[tag - 1].key].stringValue(),
                      tag == LastTag || tag == UpDownTag ? trend : nullptr);
}

void CMAlarmMainPanelCell::layoutSubviews() {
    CMAlarmBaseCell::layoutSubviews();
    placeNameAndCode(1.5f, 1, 2);
    const float unit = lblWidth(), line = lblHeight();
    for (int tag = LastTag; tag <= TurnoverTag; ++tag) {
        const int row = (tag - 1) / 2 + 1, column = (tag - 1) % 2;
        resetValueFieldAtTag(tag, {left + column * (hozSpace + 2 * unit), row * line, 2 * unit, line});
    }
}
