#pragma once

#include "gfx/Font.h"
#include "gfx/Image.h"
#include "gfx/Text.h"
#include "ui/Control.h"

#include <string>

namespace ui {

class TextField;

// A stretch of text in characters (code points).
struct Range {
    size_t location = 0, length = 0;
    bool operator==(const Range &) const = default;
};

struct TextFieldDelegate : base::Object {
    virtual base::Opt<bool> shouldBeginEditing(TextField &) { return base::notImplemented; }
    virtual base::Opt<void> didBeginEditing(TextField &) { return base::notImplemented; }
    virtual base::Opt<bool> shouldEndEditing(TextField &) { return base::notImplemented; }
    virtual base::Opt<void> didEndEditing(TextField &) { return base::notImplemented; }
    // Asked before each edit by the user: replacing the range with the text.
    virtual base::Opt<bool> shouldChange(TextField &, Range, const std::string &) {
        return base::notImplemented;
    }
    virtual base::Opt<bool> shouldClear(TextField &) { return base::notImplemented; }
    virtual base::Opt<bool> shouldReturn(TextField &) { return base::notImplemented; }
};

// One line of editable text. A click gives it the keyboard (the caret where clicked), a drag or
// Shift with the arrows selects, Backspace, Delete, Home and End edit and move as on a desktop,
// Ctrl+A, C, X and V select all and use the clipboard, Return asks shouldReturn. A tap elsewhere
// does not take the keyboard away: the owner resigns the field.
//
// Every edit by the user passes shouldChange, then posts TextDidChangeNotification with the field
// as object; setText does neither. The input method's composition shows underlined at the caret
// and is no part of the text until committed. A secure field shows bullets, takes no composition
// and refuses copy and cut. The keyboard type never filters characters: the tablet has no numeric
// pad, so a number pad takes a decimal point.
class TextField : public Control {
public:
    static constexpr const char *TextDidChangeNotification = "TextFieldTextDidChange";
    enum class Border { None, Line, Bezel, RoundedRect };
    enum class ViewMode { Never, WhileEditing, UnlessEditing, Always };
    enum class Keyboard { Default = 0, NumbersAndPunctuation = 2, NumberPad = 4, NamePhonePad = 6 };
    enum class VAlign { Center, Top, Bottom };

    explicit TextField(gfx::Rect frame = {});
    ~TextField() override;

    std::string text() const;
    void setText(const std::string &text);
    const std::string &placeholder() const { return placeholder_; }
    void setPlaceholder(std::string placeholder);
    const base::Ref<gfx::Font> &font() const { return font_; }
    void setFont(base::Ref<gfx::Font> font);
    void setTextColor(base::Ref<gfx::Color> color);
    void setTextAlignment(gfx::Align alignment);
    void setContentVerticalAlignment(VAlign alignment);
    // Stretched over the whole field (stretchable images keep their caps).
    void setBackground(base::Ref<gfx::Image> image);
    void setBorderStyle(Border border);
    void setLeftView(base::Ref<View> view, ViewMode mode);
    void setRightView(base::Ref<View> view, ViewMode mode);
    void setClearButtonMode(ViewMode mode);
    bool isSecureTextEntry() const { return secure_; }
    void setSecureTextEntry(bool secure);
    Keyboard keyboardType = Keyboard::Default;
    bool autocapitalize = true;
    bool autocorrect = true;

    bool isEditing() const { return isFirstResponder(); }
    // The selection (empty: the caret) and the composition in progress.
    Range selectedRange() const;
    void setSelectedRange(Range range);
    const std::string &composition() const { return composition_; }
    base::Weak<TextFieldDelegate> delegate;

    bool canBecomeFirstResponder() const override { return isEnabled(); }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    void insertText(const std::string &text) override;
    void deleteBackward() override;
    void pressKey(Key key, bool shift) override;
    void setComposition(const std::string &text) override;

    void touchesBegan(const TouchSet &touches, const Event &event) override;
    void touchesMoved(const TouchSet &touches, const Event &event) override;
    void touchesEnded(const TouchSet &, const Event &) override {}
    void touchesCancelled(const TouchSet &, const Event &) override {}

    void layoutSubviews() override;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

private:
    // Replaces the range with the text when the delegate agrees; the caret follows the new text.
    bool replace(Range range, const std::u32string &with);
    void moveCaret(size_t to, bool extend);
    bool shows(ViewMode mode) const;
    gfx::Rect textRect() const;
    gfx::Rect clearButtonRect() const;
    // What is drawn: bullets for a secure field, the composition at the caret.
    std::u32string shown() const;
    float offsetOf(const std::u32string &shown, size_t index) const;
    float scrollFor(const std::u32string &shown, gfx::Rect r) const;
    size_t indexAt(gfx::Point point) const;
    gfx::Rect caretRect() const;
    void caretChanged();

    std::u32string text_;
    size_t caret_ = 0, anchor_ = 0;
    std::string composition_;
    std::string placeholder_;
    base::Ref<gfx::Font> font_;
    base::Ref<gfx::Color> textColor_;
    gfx::Align alignment_ = gfx::Align::Left;
    VAlign vertical_ = VAlign::Center;
    base::Ref<gfx::Image> background_;
    Border border_ = Border::None;
    base::Ref<View> left_, right_;
    ViewMode leftMode_ = ViewMode::Never, rightMode_ = ViewMode::Never, clearMode_ = ViewMode::Never;
    bool secure_ = false;
    size_t dragFrom_ = 0;
};

} // namespace ui
