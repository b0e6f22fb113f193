#pragma once

#include "base/NotificationCenter.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TextField.h"
#include "ui/View.h"

#include <string>

// Hears the text of the search field after each edit.
class AddSearchButtonDelegate {
public:
    virtual ~AddSearchButtonDelegate() = default;
    virtual base::Opt<void> ReturnSearchFieldText(const std::string &text) {
        (void)text;
        return base::notImplemented;
    }
};

// The overlay-stock search field of the detail screen's tab strip and of the full-screen chart's
// tool bar: a "叠加股票" face until tapped, then a field for a code or pinyin initials ("拼音或代码").
// Tapping it clears the text; every edit while it is being edited reports the whole text to the
// delegate. Edits of any other field never reach it.
class AddSearchButton : public ui::View {
public:
    static constexpr int SearchFieldTag = 4999;
    static constexpr float FontSize = 14;
    static inline const gfx::Rect FaceFrame{4, 3, 153, 25};

    explicit AddSearchButton(gfx::Rect frame);
    ~AddSearchButton() override;
    void setUp() override;

    // The field gives up the keypad.
    void DismissKeyPad();
    void reLayout(int) {}

    ui::TextField &searchField() { return *m_searchField; }
    ui::ImageView &frontImageView() { return *m_frontImageView; }
    bool searchFieldEditing() const { return m_searchFieldEditing; }

    base::Weak<AddSearchButtonDelegate> delegate;

private:
    struct Relay;
    void didBeginEditing();
    void didEndEditing();
    void textDidChange(const base::Notification &notification);

    base::Ref<ui::ImageView> m_frontImageView;
    base::Ref<ui::TextField> m_searchField;
    bool m_searchFieldEditing = false;
    base::Ref<Relay> m_relay;
};
