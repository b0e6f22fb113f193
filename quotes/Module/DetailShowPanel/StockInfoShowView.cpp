#include "Module/DetailShowPanel/StockInfoShowView.h"

#include "gfx/Font.h"
#include "gfx/Image.h"

#include <algorithm>

namespace {

base::Ref<ui::Label> makeLabel(gfx::Rect frame, float fontSize, base::Ref<gfx::Color> color,
                               gfx::Align alignment) {
    auto label = base::make<ui::Label>(frame);
    label->setFont(gfx::Font::boldSystem(fontSize));
    label->setTextColor(std::move(color));
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextAlignment(alignment);
    return label;
}

base::Ref<gfx::Color> rgb(int r, int g, int b) {
    return gfx::Color::rgba(float(r) / 255, float(g) / 255, float(b) / 255);
}

} // namespace

StockInfoShowView::StockInfoShowView(gfx::Rect frame) : ui::View(frame) {
    float w = frame.width(), h = frame.height();
    m_background = base::make<ui::ImageView>(gfx::Rect{0, 0, w, h}, gfx::Image::named("RayBackground.png"));
    m_addMyStockBtn = ui::Button::custom({w / 2 - 20, (h - 30) / 2, 30, 30});
    m_addMyStockBtn->setImage(gfx::Image::named("add_stock.png"));
    m_addMyStockBtn->tag = AddTag;
    m_prevStockBtn = ui::Button::custom({130, h / 2 - 25, 22, 22});
    m_prevStockBtn->setBackgroundImage(gfx::Image::named("go_up.png"));
    m_nextStockBtn = ui::Button::custom({130, h / 2 + 3, 22, 22});
    m_nextStockBtn->setBackgroundImage(gfx::Image::named("go_down.png"));

    m_nameLabel = makeLabel({6, 10, 120, 30}, 21, rgb(255, 213, 123), gfx::Align::Center);
    m_nameLabel->setAdjustsFontSizeToFitWidth(true);
    m_codeLabel = makeLabel({6, 45, 120, 30}, 12, rgb(192, 223, 255), gfx::Align::Center);
    // The price ends where the arrow starts and begins right of the add button, shrinking to fit:
    // an index's five-digit price would otherwise cover the button.
    float lastX = std::max(132.f, m_addMyStockBtn->frame().maxX() + 2);
    m_lastLabel = makeLabel({lastX, 10, 312 - lastX, 40}, 26, gfx::Color::white(), gfx::Align::Right);
    m_lastLabel->setAdjustsFontSizeToFitWidth(true);
    m_changeLabel = makeLabel({172, 55, 87, 20}, 12, gfx::Color::white(), gfx::Align::Center);
    m_rangeLabel = makeLabel({265, 55, 87, 20}, 12, gfx::Color::white(), gfx::Align::Center);
    m_upDownImgView = base::make<ui::ImageView>(gfx::Rect{312, 13, 40, 40});

    for (const base::Ref<ui::View> &view :
         {base::Ref<ui::View>(m_background), base::Ref<ui::View>(m_addMyStockBtn),
          base::Ref<ui::View>(m_prevStockBtn), base::Ref<ui::View>(m_nextStockBtn),
          base::Ref<ui::View>(m_nameLabel), base::Ref<ui::View>(m_codeLabel),
          base::Ref<ui::View>(m_lastLabel), base::Ref<ui::View>(m_changeLabel),
          base::Ref<ui::View>(m_rangeLabel), base::Ref<ui::View>(m_upDownImgView)})
        addSubview(view);
}

void StockInfoShowView::setUp() {
    ui::View::setUp();
    base::Weak<StockInfoShowView> weak = weakSelf<StockInfoShowView>();
    auto connect = [&weak](ui::Button &button, const char *name,
                           base::Opt<void> (StockInfoShowViewDelegate::*operation)(ui::Button &)) {
        ui::Button *sender = &button;
        button.addTarget(base::Action(weak, name,
                                      [weak, sender, operation](base::Object *) {
                                          auto view = weak.lock();
                                          if (auto d = view ? view->delegate.lock() : nullptr)
                                              (d.get()->*operation)(*sender);
                                      }),
                         ui::TouchUpInside);
    };
    connect(*m_addMyStockBtn, "addMyStockAction", &StockInfoShowViewDelegate::AddNewStockAction);
    connect(*m_prevStockBtn, "prevStockAction", &StockInfoShowViewDelegate::PrevStockAction);
    connect(*m_nextStockBtn, "nextStockAction", &StockInfoShowViewDelegate::NextStockAction);
}

void StockInfoShowView::SetUpDown(float change) {
    const char *image;
    base::Ref<gfx::Color> color;
    if (change > 0) {
        image = "up.png";
        color = gfx::Color::rgba(1, 0, 0);
    } else if (change < 0) {
        image = "down.png";
        color = gfx::Color::rgba(0, 1, 0);
    } else if (change == 0) {
        image = "equal.png";
        color = gfx::Color::white();
    } else {
        return;
    }
    m_upDownImgView->setImage(gfx::Image::named(image));
    m_lastLabel->setTextColor(color);
    m_changeLabel->setTextColor(color);
    m_rangeLabel->setTextColor(color);
}

void StockInfoShowView::SetAddMyStockStatus(bool inMyStock) {
    m_addMyStockBtn->setImage(gfx::Image::named(inMyStock ? "remove_stock.png" : "add_stock.png"));
    m_addMyStockBtn->tag = inMyStock ? RemoveTag : AddTag;
}

void StockInfoShowView::SetTurnPageShow(bool show) {
    m_prevStockBtn->setHidden(!show);
    m_nextStockBtn->setHidden(!show);
}

void StockInfoShowView::clearView() {
    for (ui::Label *label :
         {m_nameLabel.get(), m_codeLabel.get(), m_lastLabel.get(), m_changeLabel.get(), m_rangeLabel.get()})
        label->setText("--");
    SetUpDown(0);
}
