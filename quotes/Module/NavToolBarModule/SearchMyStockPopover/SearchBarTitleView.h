#pragma once

#include "Components/CMHorizontalPickerView.h"

#include "base/Value.h"
#include "ui/ImageView.h"
#include "ui/View.h"

#include <string>

// Hears the watch-list group chosen in the title bar.
class SearchBarTitleViewDelegate {
public:
    virtual ~SearchBarTitleViewDelegate() = default;
    virtual base::Opt<void> ReturnSelectedModelName(const std::string &name, const std::string &fileName) {
        (void)name, (void)fileName;
        return base::notImplemented;
    }
};

// The search popover's title bar while results show: "添加至自选" and a sideways picker of the
// watch-list groups, which decides where the add buttons add. Every selection of the picker, the
// user's or the one after new groups arrive, is reported.
class SearchBarTitleView : public ui::View,
                           public CMHorizontalPickerViewDataSource,
                           public CMHorizontalPickerViewDelegate {
public:
    static constexpr const char *kAddTitle = "添加至自选";

    explicit SearchBarTitleView(gfx::Rect frame);
    void setUp() override;

    // The groups ({"ModelName", "ModelFileName"}); the picker goes back to its current group, or
    // to the last one when the current one is gone, and reports it.
    void SetPickerDataArray(base::Array groups);
    const base::Array &dataArray() const { return m_dataArray; }
    CMHorizontalPickerView &myStockPickerView() { return *m_myStockPickerView; }
    ui::ImageView &rightArrow() const { return *m_rightArrow; }

    int numberOfElementsInHorizontalPickerView(CMHorizontalPickerView &picker) override;
    base::Opt<std::string> titleForElementAtIndex(CMHorizontalPickerView &picker, int index) override;
    base::Opt<int> widthForElementAtIndex(CMHorizontalPickerView &picker, int index) override;
    base::Opt<void> didSelectElementAtIndex(CMHorizontalPickerView &picker, int index) override;

    base::Weak<SearchBarTitleViewDelegate> delegate;

private:
    base::Ref<CMHorizontalPickerView> m_myStockPickerView;
    base::Array m_dataArray;
    base::Ref<ui::ImageView> m_backgroundImage, m_leftArrow, m_rightArrow;
};
