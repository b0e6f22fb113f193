#include "Components/CMKeyPadView.h"

#include "base/NotificationCenter.h"
#include "base/Str.h"
#include "gfx/Context.h"
#include "gfx/Font.h"
#include "gfx/Gradient.h"
#include "ui/TextField.h"
#include "ui/TextView.h"

#include <algorithm>

namespace {

// Key size, distance between neighbouring keys and the first key's corner, per orientation.
struct Metrics {
    gfx::Size key, pitch;
    gfx::Point origin;
};
constexpr Metrics Portrait{{62, 54}, {68, 64}, {13, 9}};
constexpr Metrics Landscape{{84, 73}, {92, 86}, {9, 11}};

constexpr float TitleFontSize = 22;
constexpr gfx::Size MarkSize{20, 4};
constexpr float MarkBottom = 8;
// The background: light grey at the top to darker grey at the bottom, under a darker top line.
constexpr float GradientColors[] = {0.82f, 0.83f, 0.85f, 1, 0.62f, 0.63f, 0.66f, 1};
constexpr float TopLineGrey = 0.45f;

const char *const TopLetters = "QWERTYUIOP", *const MiddleLetters = "ASDFGHJKL",
                  *const BottomLetters = "ZXCVBNM";

size_t length(const std::string &text) {
    return base::str::codePoints(text).size();
}

// The text without the `count` characters from index `from` (both counted in characters).
std::string without(const std::string &text, size_t from, size_t count) {
    std::vector<char32_t> points = base::str::codePoints(text);
    points.erase(points.begin() + from, points.begin() + from + count);
    std::string out;
    for (char32_t c : points)
        out += base::str::fromCodePoint(c);
    return out;
}

} // namespace

base::Ref<CMKeyPadView> CMKeyPadView::create(gfx::Rect frame) {
    struct Made : CMKeyPadView {
        explicit Made(gfx::Rect frame) : CMKeyPadView(frame) {}
    };
    base::Ref<CMKeyPadView> pad = base::make<Made>(frame);
    pad->makeKeys();
    return pad;
}

void CMKeyPadView::makeKeys() {
    for (int i = 0; i < 10; ++i)
        addKey(0, i, DigitTag + (i + 1) % 10, std::to_string((i + 1) % 10), nullptr);
    addKey(0, 10, DeleteTag, DeleteTitle, "KeyDel.png");

    int tag = FirstLetterTag;
    for (int i = 0; TopLetters[i]; ++i)
        addKey(1, i + 0.5f, tag++, std::string(1, TopLetters[i]), nullptr);
    addKey(2, 0, tag++, "600", nullptr);
    for (int i = 0; MiddleLetters[i]; ++i)
        addKey(2, i + 1, tag++, std::string(1, MiddleLetters[i]), nullptr);
    addKey(2, 10, tag++, "000", nullptr);
    for (int i = 0; BottomLetters[i]; ++i)
        addKey(3, i + 0.5f, tag++, std::string(1, BottomLetters[i]), nullptr);
    addKey(3, 7.5f, tag++, "300", nullptr);
    addKey(3, 8.5f, tag++, LogoTitle, "Logo_Key.png");
    addKey(3, 9.5f, tag++, DismissTitle, "H_HideKeyPad.png");

    for (Key &k : m_keys) {
        const std::string title = k.button->titleForState(ui::Normal);
        if (title == "D" || title == "J") {
            k.mark = base::make<ui::ImageView>(gfx::Image::named("TipKey.png"));
            k.button->addSubview(k.mark);
        }
    }
}

void CMKeyPadView::addKey(int row, float column, int tag, const std::string &title, const char *picture) {
    auto key = ui::Button::custom();
    key->tag = tag;
    key->setTitle(title);
    // The picture keys are known by their titles, which are not for showing.
    key->setTitleColor(picture ? gfx::Color::clear() : gfx::Color::white());
    key->titleLabel().setFont(gfx::Font::boldSystem(TitleFontSize));
    key->setBackgroundImage(gfx::Image::named(picture ? picture : "KeyUp.png"));
    key->setBackgroundImage(gfx::Image::named("KeyDown.png"), ui::Highlighted);
    if (tag == DeleteTag)
        key->addTarget(BASE_ACTION(this, KeyPadDeleteAction), ui::TouchUpInside);
    else if (title == LogoTitle)
        key->addTarget(BASE_ACTION(this, KeyPadLogoAction), ui::TouchUpInside);
    else
        key->addTarget(BASE_ACTION(this, KeyPadAction), ui::TouchUpInside);
    addSubview(key);
    m_keys.push_back({key, row, column, nullptr});
}

const CMKeyPadView::Key *CMKeyPadView::keyOf(int tag) const {
    auto it =
        std::find_if(m_keys.begin(), m_keys.end(), [tag](const Key &k) { return k.button->tag == tag; });
    return it == m_keys.end() ? nullptr : &*it;
}

ui::Button *CMKeyPadView::keyWithTag(int tag) const {
    const Key *key = keyOf(tag);
    return key ? key->button.get() : nullptr;
}

ui::ImageView *CMKeyPadView::markOfKey(int tag) const {
    const Key *key = keyOf(tag);
    return key ? key->mark.get() : nullptr;
}

void CMKeyPadView::SetInputTarget(const base::Ref<ui::View> &input) {
    auto &center = base::NotificationCenter::shared();
    center.removeObserver(this, ui::TextField::TextDidChangeNotification);
    m_input = input;
    if (auto field = std::dynamic_pointer_cast<ui::TextField>(input))
        center.addObserver(
            weakSelf(), ui::TextField::TextDidChangeNotification,
            [this](const base::Notification &) { textChanged(); }, field);
}

void CMKeyPadView::SetTextChangedTarget(base::Action TextChangedAction) {
    m_textChanged = std::move(TextChangedAction);
}

void CMKeyPadView::textChanged() {
    if (base::Ref<ui::View> input = m_input.lock())
        m_textChanged(input.get());
}

void CMKeyPadView::KeyPadAction(ui::Button *sender) {
    base::Ref<ui::View> input = m_input.lock();
    if (!sender || !input)
        return;
    const std::string title = sender->titleForState(ui::Normal);
    if (title == DismissTitle) {
        input->resignFirstResponder();
    } else if (auto *field = dynamic_cast<ui::TextField *>(input.get())) {
        field->setSelectedRange({length(field->text()), 0});
        field->insertText(title);
    } else if (auto *view = dynamic_cast<ui::TextView *>(input.get())) {
        view->setText(view->text() + title);
    }
}

void CMKeyPadView::KeyPadDeleteAction(ui::Button *) {
    base::Ref<ui::View> input = m_input.lock();
    if (auto *field = dynamic_cast<ui::TextField *>(input.get())) {
        field->setSelectedRange({0, length(field->text())});
        field->deleteBackward();
    } else if (auto *view = dynamic_cast<ui::TextView *>(input.get())) {
        ui::Range range = view->selectedRange();
        if (range.length == 0) {
            if (range.location == 0)
                return;
            range = {range.location - 1, 1};
        }
        view->setText(without(view->text(), range.location, range.length));
        view->setSelectedRange({range.location, 0});
    }
}

void CMKeyPadView::KeyPadLogoAction(ui::Button *) {
    base::Ref<ui::View> input = m_input.lock();
    if (auto *field = dynamic_cast<ui::TextField *>(input.get())) {
        field->setSelectedRange({0, length(field->text())});
        field->insertText(LogoCode);
    } else if (auto *view = dynamic_cast<ui::TextView *>(input.get())) {
        view->setText(LogoCode);
    }
}

void CMKeyPadView::layoutSubviews() {
    const Metrics &m = isLandscape() ? Landscape : Portrait;
    for (const Key &k : m_keys) {
        k.button->setFrame(
            {m.origin.x + k.column * m.pitch.w, m.origin.y + k.row * m.pitch.h, m.key.w, m.key.h});
        if (k.mark)
            k.mark->setFrame({(m.key.w - MarkSize.w) / 2, m.key.h - MarkBottom, MarkSize.w, MarkSize.h});
    }
}

void CMKeyPadView::drawRect(gfx::Context &context, gfx::Rect) {
    const gfx::Rect all = bounds();
    if (base::Ref<gfx::Gradient> gradient = gfx::Gradient::deviceRgb(GradientColors, 2)) {
        context.save();
        context.clipToRect(all);
        context.drawLinearGradient(*gradient, all.o, {all.x(), all.maxY()});
        context.restore();
    }
    context.setStroke(*gfx::Color::white(TopLineGrey));
    context.setLineWidth(1);
    context.beginPath();
    context.moveTo({all.x(), all.y() + 0.5f});
    context.lineTo({all.maxX(), all.y() + 0.5f});
    context.strokePath();
}
