#include "Module/DetailShowPanel/RightForeignIndexDetailPanel.h"

namespace {

constexpr float kGridHeight = 180;

} // namespace

base::Ref<gfx::Color> RightPanelBackground() {
    return gfx::Color::rgba(31 / 255.f, 109 / 255.f, 155 / 255.f, 0.1f);
}

const std::vector<std::string> &RightForeignIndexDetailPanel::Captions() {
    static const std::vector<std::string> captions{"最　　新", "涨　　跌", "涨　　幅", "昨　　收", "今　　开",
                                                   "最　　高", "最　　低", "总成交量", "总成交额", "上涨家数",
                                                   "平盘家数", "下跌家数", "总 市 值"};
    return captions;
}

RightForeignIndexDetailPanel::RightForeignIndexDetailPanel(gfx::Rect frame)
    : RightForeignIndexDetailPanel(frame, Captions()) {}

RightForeignIndexDetailPanel::RightForeignIndexDetailPanel(gfx::Rect frame,
                                                           const std::vector<std::string> &captions)
    : ui::View(frame) {
    setBackgroundColor(RightPanelBackground());
    m_valuePanelView = base::make<ValuePanelView>(gfx::Rect{0, 0, frame.width(), kGridHeight});
    m_valuePanelView->SetSingleDoubleColumn(1);
    m_valuePanelView->SetFieldArray(captions);
    addSubview(m_valuePanelView);
    clearView();
}

void RightForeignIndexDetailPanel::clearView() {
    m_valuePanelView->SetValueArray(RepeatedValues(m_valuePanelView->fieldCount()));
}

const std::vector<std::string> &RightCurrDetailPanel::Captions() {
    static const std::vector<std::string> captions{"最　　新", "涨　　跌", "涨　　幅", "昨　　收",
                                                   "今　　开", "最　　高", "最　　低", "买　　入",
                                                   "卖　　出", "均　　价"};
    return captions;
}

RightCurrDetailPanel::RightCurrDetailPanel(gfx::Rect frame)
    : RightForeignIndexDetailPanel(frame, Captions()) {}
