#pragma once

#include "ui/ScrollView.h"

#include <string>
#include <vector>

namespace ui {

class PickerView;

struct PickerDataSource : base::Object {
    virtual int numberOfComponents(PickerView &) = 0;
    virtual int numberOfRows(PickerView &, int component) = 0;
};

struct PickerDelegate : base::Object {
    virtual base::Opt<float> rowHeight(PickerView &, int) { return base::notImplemented; }
    virtual base::Opt<float> width(PickerView &, int) { return base::notImplemented; }
    virtual base::Opt<std::string> title(PickerView &, int, int) { return base::notImplemented; }
    // A wheel the user turned came to rest on the row.
    virtual base::Opt<void> didSelect(PickerView &, int, int) { return base::notImplemented; }
};

// Wheels side by side (one per component), each turning through its rows; the row at the centre
// band is the selected one. A turned wheel settles on the nearest row and then reports it, once
// per settling; selectRow reports nothing. The data source and the delegate are weak: once the
// owner is gone the picker shows no wheels and calls nobody.
class PickerView : public View {
public:
    static constexpr float DefaultRowHeight = 44, DefaultHeight = 216, Margin = 10;

    explicit PickerView(gfx::Rect frame = {});
    ~PickerView() override;

    base::Weak<PickerDataSource> dataSource;
    base::Weak<PickerDelegate> delegate;
    bool showsSelectionIndicator() const { return indicator_; }
    void setShowsSelectionIndicator(bool shows);

    int numberOfComponents() const { return int(wheels_.size()); }
    int numberOfRows(int component) const;
    void reloadAllComponents();
    void reloadComponent(int component);
    void selectRow(int row, int component, bool animated);
    // −1 when the component has no rows.
    int selectedRow(int component) const;
    ScrollView *wheel(int component) const;

    void layoutSubviews() override;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

    // Called by the wheels.
    void settled(int component, int row);

private:
    class Wheel;
    void build();

    std::vector<base::Ref<Wheel>> wheels_;
    // The wheels' scroll delegates, kept here because scroll views hold theirs weakly.
    std::vector<base::Ref<base::Object>> settlers_;
    bool indicator_ = false;
    bool loaded_ = false;
};

} // namespace ui
