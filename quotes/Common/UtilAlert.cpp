#include "Common/Util.h"

#include "Module/StockDataBaseMgnt/DataManager.h"
#include "base/Str.h"
#include "gfx/Image.h"
#include "ui/Alert.h"
#include "ui/Button.h"

namespace {

constexpr int SelBoxLabelTag = 66;

base::Ref<ui::Label> whiteLabel(gfx::Rect frame, const std::string &text, base::Ref<gfx::Font> font) {
    auto label = base::make<ui::Label>(frame);
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextColor(gfx::Color::white());
    label->setTextAlignment(gfx::Align::Center);
    label->setFont(std::move(font));
    label->setText(text);
    return label;
}

void setTitledBackground(ui::Button &btn, const base::Ref<gfx::Image> &imgBG, const std::string &title,
                         base::Ref<gfx::Font> font) {
    btn.setBackgroundImage(imgBG);
    btn.setTitleColor(gfx::Color::white());
    btn.setTitle(title);
    btn.titleLabel().setFont(std::move(font));
}

} // namespace

void Util::ShowInfoBox(const std::string &message, const std::string &title) {
    // The alert stack keeps the alert while it shows.
    base::make<ui::Alert>(title, message, base::Weak<ui::AlertDelegate>(), "关闭", std::vector<std::string>{})
        ->show();
}

void Util::ShowTipBox(const std::string &message) {
    DataManager::sharedDataManager().ShowAlertView(message);
}

void Util::setImgBtnProp(ui::Button &btn, const base::Ref<gfx::Image> &img) {
    btn.setBackgroundColor(gfx::Color::clear());
    if (img)
        btn.setImage(img);
}

void Util::setImgBgBtnProp(ui::Button &btn, const std::string &title, const base::Ref<gfx::Image> &imgBG) {
    setTitledBackground(btn, imgBG, title, gfx::Font::system(14));
}

void Util::setHorzBtnProp(ui::Button &btn, const base::Ref<gfx::Image> &imgBG, const std::string &title) {
    setTitledBackground(btn, imgBG, title, gfx::Font::boldSystem(16));
}

void Util::setSelBoxBtnProp(ui::Button &btn, const std::string &title, float width, float height) {
    auto label = whiteLabel({0, 0, width - 14, height}, title, gfx::Font::system(14));
    label->tag = SelBoxLabelTag;
    label->setLineBreakMode(gfx::LineBreak::Clip);
    btn.addSubview(label);
    if (btn.frame().width() == 0 || btn.frame().height() == 0)
        btn.setFrame({0, 0, width, height});
    btn.setBackgroundColor(gfx::Color::clear());
    if (base::Ref<gfx::Image> box = gfx::Image::named("selbox.png"))
        btn.setBackgroundImage(box->stretchable(10, 0));
}

void Util::setSelBoxTitle(ui::Button &btn, const std::string &title) {
    if (auto *label = dynamic_cast<ui::Label *>(btn.viewWithTag(SelBoxLabelTag)))
        label->setText(title);
}

void Util::setVertBtnProp(ui::Button &btn, const base::Ref<gfx::Image> &imgBG, const std::string &title) {
    btn.setBackgroundColor(gfx::Color::clear());
    btn.setBackgroundImage(imgBG);
    const std::string text = base::str::replaceAll(title, "\n", "");
    const std::vector<char32_t> characters = base::str::codePoints(text);
    const float w = btn.frame().width(), h = btn.frame().height();
    if (characters.size() < 4) {
        auto label = whiteLabel({4, 0, w - 4, h}, text, gfx::Font::boldSystem(16));
        label->setNumberOfLines(0);
        btn.addSubview(label);
        return;
    }
    const float lineHeight = (h - 6) / float(characters.size());
    for (size_t i = 0; i < characters.size(); ++i)
        btn.addSubview(whiteLabel({4, 3 + lineHeight * float(i), w - 4, lineHeight},
                                  base::str::fromCodePoint(characters[i]), gfx::Font::boldSystem(16)));
}
