#pragma once

#include "base/Action.h"
#include "ui/Button.h"
#include "ui/ImageView.h"

#include <string>
#include <vector>

// An on-screen keypad for typing stock codes into a text field or text view: digits, the letters,
// the common code prefixes "600", "000" and "300", a delete key, a key that puts one fixed code and
// a key that hides the keyboard. It lays itself out for the portrait width (768 × 264) or, on a
// wider frame, the landscape width (1024 × 353). No screen shows it yet.
//
// Edits of a text field go through the field as typing would (its delegate may refuse them, and
// each posts the field's text-change notification); a text view is edited at its selection. Keys
// pressed while there is no input, or after the input is gone, do nothing.
class CMKeyPadView : public ui::View {
public:
    static constexpr gfx::Size PortraitSize{768, 264}, LandscapeSize{1024, 353};
    // Digits "1" … "9" are 2001 … 2009 and "0" 2000; the other keys count up from 2010 row by row
    // ("Q" … "P", "600", "A" … "L", "000", "Z" … "M", "300", the logo key, the hide key); delete 2050.
    static constexpr int DigitTag = 2000, FirstLetterTag = 2010, DeleteTag = 2050;
    static constexpr const char *DeleteTitle = "__DELETE_KEYPAD__";
    static constexpr const char *LogoTitle = "__LOGO_KEYPAD__";
    static constexpr const char *DismissTitle = "__DISMISS_KEYPAD__";
    // What the logo key puts into the input.
    static constexpr const char *LogoCode = "600570";

    static base::Ref<CMKeyPadView> create(gfx::Rect frame);

    // Chooses the input (a ui::TextField or ui::TextView); not retained.
    void SetInputTarget(const base::Ref<ui::View> &input);
    // The action hears every change of the input text field's text, with the field as sender.
    void SetTextChangedTarget(base::Action TextChangedAction);
    // The keys are made once at creation; nothing is left to set up.
    void SetupKeyPad() {}

    // Appends the key's title; the hide key ends editing instead.
    void KeyPadAction(ui::Button *sender);
    // Empties a text field; in a text view removes the selection or the character before the caret.
    void KeyPadDeleteAction(ui::Button *sender);
    // Replaces the input's text with the logo code.
    void KeyPadLogoAction(ui::Button *sender);

    bool isLandscape() const { return bounds().width() > PortraitSize.w; }
    ui::Button *keyWithTag(int tag) const;
    // The mark on a key; nullptr on a key without one.
    ui::ImageView *markOfKey(int tag) const;

    void layoutSubviews() override;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

protected:
    explicit CMKeyPadView(gfx::Rect frame) : ui::View(frame) {}

private:
    struct Key {
        base::Ref<ui::Button> button;
        int row;
        float column;                  // in key pitches from the row's left edge
        base::Ref<ui::ImageView> mark; // the small mark of "D" and "J"
    };
    const Key *keyOf(int tag) const;
    void makeKeys();
    void addKey(int row, float column, int tag, const std::string &title, const char *picture);
    void textChanged();

    std::vector<Key> m_keys;
    base::Weak<ui::View> m_input;
    base::Action m_textChanged;
};
