#include "Module/CommonControls/GeneralColumn/GeneralColumn.h"

GeneralColumn::GeneralColumn(gfx::Rect frame, base::Array columns, base::Ref<gfx::Font> textFont)
    : ui::View(frame), m_colArray(std::move(columns)), m_textFont(std::move(textFont)) {
    setBackgroundColor(gfx::Color::clear());
    opaque = false;
}

void GeneralColumn::setUp() {
    ui::View::setUp();
    float x = 0, h = bounds().height();
    int i = 0;
    for (const base::Value &entry : m_colArray) {
        float width = float(entry["ColWidth"].intValue());
        m_widthArray.push_back(width);
        auto header = base::make<GeneralHeaderView>(gfx::Rect{x, 0, width, h});
        header->fieldLabel().setText(entry["ColName"].stringValue());
        if (m_textFont)
            header->fieldLabel().setFont(m_textFont);
        header->delegate = weakSelf<GeneralColumn>();
        header->tag = BeginTag + i;
        header->enabled = entry["Enabled"].boolValue();
        std::string special = entry["SpecialName"].stringValue();
        if (special == "NAME") {
            header->fieldLabel().setTextAlignment(gfx::Align::Left);
            header->SetHeaderIconPosition(1);
        } else if (special == "INDEX") {
            header->fieldLabel().setTextAlignment(gfx::Align::Center);
            header->SetHeaderIconPosition(0);
        } else {
            header->fieldLabel().setTextAlignment(gfx::Align::Right);
            header->SetHeaderIconPosition(1);
        }
        addSubview(header);
        x += width;
        ++i;
    }
}

GeneralHeaderView *GeneralColumn::headerAt(int index) {
    return dynamic_cast<GeneralHeaderView *>(viewWithTag(BeginTag + index));
}

void GeneralColumn::SetSelectedHeader(int index, int upDown) {
    for (int i = 0; i < columnNum(); ++i)
        if (GeneralHeaderView *header = headerAt(i))
            header->SetHeaderRankEnable(i == index, upDown);
}

base::Opt<void> GeneralColumn::ClickHeaderAction(GeneralHeaderView &header, int status) {
    if (auto d = delegate.lock())
        d->ClickHeaderAction(header, header.tag - BeginTag, status);
    return {};
}

void GeneralColumn::drawRect(gfx::Context &context, gfx::Rect) {
    if (!isShowColumnLine || m_widthArray.empty())
        return;
    context.setStroke(*gfx::Color::rgba(80 / 255.f, 80 / 255.f, 80 / 255.f));
    context.setLineWidth(0.8f);
    float x = 0, h = bounds().height();
    for (float width : m_widthArray) {
        context.strokeRect({x, 1, width, h - 2});
        x += width;
    }
}
