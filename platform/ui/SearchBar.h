#pragma once

#include "ui/Button.h"
#include "ui/TextField.h"

namespace ui {

class SearchBar;

struct SearchBarDelegate : base::Object {
    // After each edit by the user.
    virtual base::Opt<void> textDidChange(SearchBar &, const std::string &) { return base::notImplemented; }
    virtual base::Opt<void> cancelClicked(SearchBar &) { return base::notImplemented; }
    virtual base::Opt<void> resultsListClicked(SearchBar &) { return base::notImplemented; }
    virtual base::Opt<void> didBeginEditing(SearchBar &) { return base::notImplemented; }
    virtual base::Opt<void> didEndEditing(SearchBar &) { return base::notImplemented; }
};

// A search field on a bar (black or blue-grey), with an optional cancel button titled "取消" at the
// right and an optional results-list button inside the field. It tells its delegate of each edit
// by the user and of the buttons; setText tells nobody.
class SearchBar : public View {
public:
    enum class Style { Default, Black };
    static constexpr float CancelWidth = 60;

    explicit SearchBar(gfx::Rect frame = {});
    ~SearchBar() override;

    std::string text() const { return field_->text(); }
    void setText(const std::string &text) { field_->setText(text); }
    void setPlaceholder(std::string placeholder) { field_->setPlaceholder(std::move(placeholder)); }
    Style barStyle() const { return style_; }
    void setBarStyle(Style style);
    void setShowsCancelButton(bool shows);
    void setShowsSearchResultsButton(bool shows);
    TextField &textField() { return *field_; }
    Button &cancelButton() { return *cancel_; }
    Control &resultsButton() { return *results_; }
    base::Weak<SearchBarDelegate> delegate;

    void layoutSubviews() override;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

private:
    struct Relay;
    base::Ref<TextField> field_;
    base::Ref<Button> cancel_;
    base::Ref<Control> results_;
    base::Ref<Relay> relay_;
    Style style_ = Style::Default;
};

} // namespace ui
