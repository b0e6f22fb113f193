#include "MiniMinLineView.h"

#include "gfx/BitmapContext.h"

MiniMinLineView::MiniMinLineView(int32_t height) : m_height(height), m_mobj(base::make<MiniMinLineClass>()) {
    m_mobj->setDrawMinLineStep(DrawStep);
}

void MiniMinLineView::Update(base::Ref<StockQuoteInf> basicInf, base::Ref<MinLineList> mlineList) {
    if (m_mobj->Update(std::move(basicInf), std::move(mlineList)))
        createImage();
}

void MiniMinLineView::UpdateBasicInf(base::Ref<StockQuoteInf> basicInf) {
    if (m_mobj->UpdateBasicInf(std::move(basicInf)))
        createImage();
}

void MiniMinLineView::UpdateMinLine(base::Ref<MinLineList> mlineList) {
    if (m_mobj->UpdateMinLine(std::move(mlineList)))
        createImage();
}

void MiniMinLineView::createImage() {
    gfx::BitmapContext bitmap(m_width, m_height);
    bitmap.translate(0, float(m_height));
    bitmap.scale(1, -1);
    m_mobj->draw(bitmap, {0, 0, float(m_width), float(m_height)});
    m_image = bitmap.makeImage();
}
