#include "ui/TextField.h"

#include "base/NotificationCenter.h"
#include "base/Str.h"
#include "ui/Host.h"
#include "ui/KeyboardHost.h"

#include <algorithm>

namespace ui {

namespace {

constexpr float Padding = 7, ClearSize = 19;
constexpr char32_t Bullet = U'\u25CF';

std::string utf8(std::u32string_view text) {
    std::string out;
    for (char32_t c : text)
        out += base::str::fromCodePoint(c);
    return out;
}

// Typed or pasted text without line breaks and other control characters.
std::u32string typed(std::string_view text) {
    std::u32string out;
    for (char32_t c : base::str::codePoints(text))
        if (c >= 0x20 && c != 0x7f)
            out += c;
    return out;
}

} // namespace

TextField::TextField(gfx::Rect frame)
    : Control(frame), font_(gfx::Font::system(12)), textColor_(gfx::Color::black()) {}

TextField::~TextField() {
    KeyboardHost::shared().inputEnded(*this);
}

std::string TextField::text() const {
    return utf8(text_);
}

void TextField::setText(const std::string &text) {
    std::u32string next = typed(text);
    if (next == text_)
        return;
    text_ = std::move(next);
    caret_ = anchor_ = text_.size();
    caretChanged();
}

void TextField::setPlaceholder(std::string placeholder) {
    placeholder_ = std::move(placeholder);
    if (text_.empty())
        setNeedsDisplay();
}

void TextField::setFont(base::Ref<gfx::Font> font) {
    font_ = font ? std::move(font) : gfx::Font::system(12);
    setNeedsDisplay();
}

void TextField::setTextColor(base::Ref<gfx::Color> color) {
    textColor_ = color ? std::move(color) : gfx::Color::black();
    setNeedsDisplay();
}

void TextField::setTextAlignment(gfx::Align alignment) {
    alignment_ = alignment;
    setNeedsDisplay();
}

void TextField::setContentVerticalAlignment(VAlign alignment) {
    vertical_ = alignment;
    setNeedsDisplay();
}

void TextField::setBackground(base::Ref<gfx::Image> image) {
    background_ = std::move(image);
    setNeedsDisplay();
}

void TextField::setBorderStyle(Border border) {
    border_ = border;
    setNeedsDisplay();
}

void TextField::setLeftView(base::Ref<View> view, ViewMode mode) {
    if (left_)
        left_->removeFromSuperview();
    left_ = std::move(view);
    leftMode_ = mode;
    if (left_)
        addSubview(left_);
    setNeedsLayout();
    setNeedsDisplay();
}

void TextField::setRightView(base::Ref<View> view, ViewMode mode) {
    if (right_)
        right_->removeFromSuperview();
    right_ = std::move(view);
    rightMode_ = mode;
    if (right_)
        addSubview(right_);
    setNeedsLayout();
    setNeedsDisplay();
}

void TextField::setClearButtonMode(ViewMode mode) {
    clearMode_ = mode;
    setNeedsDisplay();
}

void TextField::setSecureTextEntry(bool secure) {
    secure_ = secure;
    composition_.clear();
    caretChanged();
}

Range TextField::selectedRange() const {
    return {std::min(caret_, anchor_), caret_ > anchor_ ? caret_ - anchor_ : anchor_ - caret_};
}

void TextField::setSelectedRange(Range range) {
    anchor_ = std::min(range.location, text_.size());
    caret_ = std::min(anchor_ + range.length, text_.size());
    caretChanged();
}

bool TextField::shows(ViewMode mode) const {
    return mode == ViewMode::Always || (mode == ViewMode::WhileEditing && isEditing()) ||
           (mode == ViewMode::UnlessEditing && !isEditing());
}

bool TextField::becomeFirstResponder() {
    if (isFirstResponder())
        return true;
    if (!canBecomeFirstResponder())
        return false;
    base::Ref<View> keep = self<View>();
    auto d = delegate.lock();
    if (d && !d->shouldBeginEditing(*this).valueOr(true))
        return false;
    {
        KeyboardHost::Switch keepKeyboard;
        if (!Responder::becomeFirstResponder())
            return false;
    }
    caret_ = anchor_ = text_.size();
    KeyboardHost::shared().inputBegan(*this, caretRect(), secure_);
    setNeedsLayout();
    setNeedsDisplay();
    if (d)
        d->didBeginEditing(*this);
    return true;
}

bool TextField::resignFirstResponder() {
    if (!isFirstResponder())
        return true;
    base::Ref<View> keep = self<View>();
    auto d = delegate.lock();
    if (d && !d->shouldEndEditing(*this).valueOr(true))
        return false;
    Responder::resignFirstResponder();
    composition_.clear();
    anchor_ = caret_;
    KeyboardHost::shared().inputEnded(*this);
    setNeedsLayout();
    setNeedsDisplay();
    if (d)
        d->didEndEditing(*this);
    return true;
}

bool TextField::replace(Range range, const std::u32string &with) {
    base::Ref<View> keep = self<View>();
    if (auto d = delegate.lock(); d && !d->shouldChange(*this, range, utf8(with)).valueOr(true))
        return false;
    range.location = std::min(range.location, text_.size());
    range.length = std::min(range.length, text_.size() - range.location);
    text_.replace(range.location, range.length, with);
    caret_ = anchor_ = range.location + with.size();
    caretChanged();
    base::NotificationCenter::shared().post(TextDidChangeNotification, self<TextField>());
    return true;
}

void TextField::insertText(const std::string &text) {
    if (text == "\n" || text == "\r") {
        pressKey(Key::Return, false);
        return;
    }
    composition_.clear();
    std::u32string add = typed(text);
    if (add.empty()) {
        setNeedsDisplay();
        return;
    }
    replace(selectedRange(), add);
}

void TextField::deleteBackward() {
    Range r = selectedRange();
    if (r.length > 0)
        replace(r, {});
    else if (caret_ > 0)
        replace({caret_ - 1, 1}, {});
}

void TextField::moveCaret(size_t to, bool extend) {
    caret_ = std::min(to, text_.size());
    if (!extend)
        anchor_ = caret_;
    caretChanged();
}

void TextField::pressKey(Key key, bool shift) {
    Range r = selectedRange();
    Host *host = Host::current();
    switch (key) {
    case Key::Backspace:
        deleteBackward();
        break;
    case Key::Delete:
        if (r.length > 0)
            replace(r, {});
        else if (caret_ < text_.size())
            replace({caret_, 1}, {});
        break;
    case Key::Left:
        moveCaret(!shift && r.length > 0 ? r.location : caret_ > 0 ? caret_ - 1 : 0, shift);
        break;
    case Key::Right:
        moveCaret(!shift && r.length > 0 ? r.location + r.length : caret_ + 1, shift);
        break;
    case Key::Home:
        moveCaret(0, shift);
        break;
    case Key::End:
        moveCaret(text_.size(), shift);
        break;
    case Key::Return:
        if (auto d = delegate.lock())
            d->shouldReturn(*this);
        break;
    case Key::Escape:
        resignFirstResponder();
        break;
    case Key::SelectAll:
        anchor_ = 0;
        moveCaret(text_.size(), true);
        break;
    case Key::Copy:
    case Key::Cut:
        // A password never reaches the clipboard.
        if (secure_ || r.length == 0 || !host)
            break;
        host->setClipboardText(utf8(text_.substr(r.location, r.length)));
        if (key == Key::Cut)
            replace(r, {});
        break;
    case Key::Paste:
        if (host)
            if (std::u32string pasted = typed(host->clipboardText()); !pasted.empty())
                replace(r, pasted);
        break;
    }
}

void TextField::setComposition(const std::string &text) {
    if (secure_ || !isFirstResponder() || text == composition_)
        return;
    composition_ = text;
    caretChanged();
}

void TextField::caretChanged() {
    setNeedsDisplay();
    if (isFirstResponder())
        KeyboardHost::shared().caretMoved(*this, caretRect(), secure_);
}

gfx::Rect TextField::textRect() const {
    gfx::Rect b = bounds();
    float left = border_ == Border::None ? 0 : Padding, right = left;
    if (left_ && shows(leftMode_))
        left = std::max(left, left_->frame().maxX());
    if (right_ && shows(rightMode_))
        right = std::max(right, b.width() - right_->frame().minX());
    else if (shows(clearMode_) && !text_.empty())
        right = std::max(right, ClearSize + Padding);
    return {left, 0, std::max(0.f, b.width() - left - right), b.height()};
}

gfx::Rect TextField::clearButtonRect() const {
    gfx::Rect b = bounds();
    return {b.width() - ClearSize - Padding / 2, (b.height() - ClearSize) / 2, ClearSize, ClearSize};
}

std::u32string TextField::shown() const {
    std::u32string s = secure_ ? std::u32string(text_.size(), Bullet) : text_;
    if (!composition_.empty()) {
        auto composing = base::str::codePoints(composition_);
        s.insert(caret_, composing.data(), composing.size());
    }
    return s;
}

float TextField::offsetOf(const std::u32string &shown, size_t index) const {
    return index == 0 ? 0 : gfx::measure(utf8(shown.substr(0, index)), *font_).w;
}

float TextField::scrollFor(const std::u32string &s, gfx::Rect r) const {
    // Text wider than the field scrolls so that the caret stays in view.
    float whole = offsetOf(s, s.size());
    if (whole <= r.width())
        return alignment_ == gfx::Align::Left    ? 0
               : alignment_ == gfx::Align::Right ? whole - r.width()
                                                 : (whole - r.width()) / 2;
    size_t end = caret_ + base::str::codePoints(composition_).size();
    return std::clamp(offsetOf(s, end) - r.width() + 2, 0.f, whole - r.width() + 2);
}

size_t TextField::indexAt(gfx::Point point) const {
    std::u32string s = secure_ ? std::u32string(text_.size(), Bullet) : text_;
    gfx::Rect r = textRect();
    float x = point.x - r.x() + scrollFor(s, r);
    size_t best = 0;
    float bestDistance = std::abs(x);
    for (size_t i = 1; i <= s.size(); ++i) {
        float d = std::abs(offsetOf(s, i) - x);
        if (d < bestDistance)
            best = i, bestDistance = d;
    }
    return best;
}

gfx::Rect TextField::caretRect() const {
    std::u32string s = shown();
    gfx::Rect r = textRect();
    size_t end = caret_ + base::str::codePoints(composition_).size();
    float h = font_->lineHeight();
    float y = vertical_ == VAlign::Top      ? 0
              : vertical_ == VAlign::Bottom ? r.height() - h
                                            : (r.height() - h) / 2;
    gfx::Rect local{r.x() + offsetOf(s, end) - scrollFor(s, r), y, 2, h};
    return window() ? convert(local, nullptr) : local;
}

void TextField::touchesBegan(const TouchSet &touches, const Event &) {
    if (touches.empty() || !isEnabled())
        return;
    gfx::Point p = touches.front()->location(this);
    if (shows(clearMode_) && !text_.empty() && clearButtonRect().contains(p)) {
        auto d = delegate.lock();
        if (!d || d->shouldClear(*this).valueOr(true))
            replace({0, text_.size()}, {});
        return;
    }
    if (!becomeFirstResponder())
        return;
    composition_.clear();
    dragFrom_ = indexAt(p);
    anchor_ = dragFrom_;
    moveCaret(dragFrom_, true);
}

void TextField::touchesMoved(const TouchSet &touches, const Event &) {
    if (touches.empty() || !isFirstResponder())
        return;
    anchor_ = dragFrom_;
    moveCaret(indexAt(touches.front()->location(this)), true);
}

void TextField::layoutSubviews() {
    gfx::Rect b = bounds();
    if (left_) {
        gfx::Size s = left_->frame().s;
        left_->setFrame({0, (b.height() - s.h) / 2, s.w, s.h});
        left_->setHidden(!shows(leftMode_));
    }
    if (right_) {
        gfx::Size s = right_->frame().s;
        right_->setFrame({b.width() - s.w, (b.height() - s.h) / 2, s.w, s.h});
        right_->setHidden(!shows(rightMode_));
    }
}

void TextField::drawRect(gfx::Context &c, gfx::Rect) {
    gfx::Rect b = bounds();
    if (background_) {
        c.drawImage(b, *background_);
    } else if (border_ == Border::RoundedRect) {
        c.beginPath();
        gfx::Rect r = b.inset(0.5f, 0.5f);
        const float radius = 6;
        c.moveTo({r.minX() + radius, r.minY()});
        c.addArcToPoint({r.maxX(), r.minY()}, {r.maxX(), r.maxY()}, radius);
        c.addArcToPoint({r.maxX(), r.maxY()}, {r.minX(), r.maxY()}, radius);
        c.addArcToPoint({r.minX(), r.maxY()}, {r.minX(), r.minY()}, radius);
        c.addArcToPoint({r.minX(), r.minY()}, {r.maxX(), r.minY()}, radius);
        c.closePath();
        c.setFill(*gfx::Color::white());
        c.setStroke(*gfx::Color::rgba(0.6f, 0.6f, 0.6f, 1));
        c.fillAndStrokePath();
    } else if (border_ == Border::Line || border_ == Border::Bezel) {
        c.setStroke(border_ == Border::Line ? *gfx::Color::black() : *gfx::Color::gray());
        c.strokeRect(b.inset(0.5f, 0.5f));
    }

    gfx::Rect r = textRect();
    float h = font_->lineHeight();
    float y = vertical_ == VAlign::Top      ? 0
              : vertical_ == VAlign::Bottom ? r.height() - h
                                            : (r.height() - h) / 2;
    c.save();
    c.clipToRect(r);
    std::u32string s = shown();
    if (s.empty() && !placeholder_.empty()) {
        c.setFill(*gfx::Color::rgba(0.7f, 0.7f, 0.7f, 1));
        c.drawText(placeholder_, gfx::Rect{r.x(), y, r.width(), h}, *font_, gfx::LineBreak::TruncateTail,
                   alignment_);
    }
    float x = r.x() - scrollFor(s, r);
    Range sel = selectedRange();
    if (isFirstResponder() && sel.length > 0 && composition_.empty()) {
        float x0 = offsetOf(s, sel.location), x1 = offsetOf(s, sel.location + sel.length);
        c.setFill(*gfx::Color::rgba(0.7f, 0.82f, 0.98f, 1));
        c.fillRect({x + x0, y, x1 - x0, h});
    }
    c.setFill(*textColor_);
    c.drawText(utf8(s), gfx::Point{x, y}, *font_);
    if (!composition_.empty()) {
        // The composition is marked with a line under it.
        size_t n = base::str::codePoints(composition_).size();
        float x0 = offsetOf(s, caret_), x1 = offsetOf(s, caret_ + n);
        c.fillRect({x + x0, y + h - 1, x1 - x0, 1});
    }
    if (isFirstResponder() && sel.length == 0) {
        float cx = offsetOf(s, caret_ + base::str::codePoints(composition_).size());
        c.setFill(*gfx::Color::rgba(0.25f, 0.4f, 0.9f, 1));
        c.fillRect({x + cx, y, 2, h});
    }
    c.restore();

    if (shows(clearMode_) && !text_.empty() && !(right_ && shows(rightMode_))) {
        gfx::Rect cb = clearButtonRect();
        c.setFill(*gfx::Color::rgba(0.7f, 0.7f, 0.7f, 1));
        c.fillEllipse(cb);
        c.setStroke(*gfx::Color::white());
        c.setLineWidth(2);
        c.beginPath();
        c.moveTo({cb.minX() + 6, cb.minY() + 6});
        c.lineTo({cb.maxX() - 6, cb.maxY() - 6});
        c.moveTo({cb.maxX() - 6, cb.minY() + 6});
        c.lineTo({cb.minX() + 6, cb.maxY() - 6});
        c.strokePath();
    }
}

} // namespace ui
