#pragma once

#include "ui/Gesture.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <cstdint>

class GeneralHeaderView;

// Hears a tap on a header cell: the direction the cell reports (0 down, 1 up).
class GeneralHeaderViewDelegate {
public:
    virtual ~GeneralHeaderViewDelegate() = default;
    virtual base::Opt<void> ClickHeaderAction(GeneralHeaderView &header, int status) {
        (void)header, (void)status;
        return base::notImplemented;
    }
};

// One caption cell of a column header row (`GeneralColumn`). A tap reports the direction the
// column should now be sorted in and only then flips it, so the first tap on a column asks for
// descending, the next for ascending, and so on; the arrow shows the direction asked for. Marking
// the cell from outside (`SetHeaderRankEnable`) shows or hides the arrow and starts the toggle
// again at descending.
class GeneralHeaderView : public ui::View {
public:
    static constexpr float IconSize = 22;
    static constexpr const char *DownImage = "Header_Down.png";
    static constexpr const char *UpImage = "Header_Up.png";

    explicit GeneralHeaderView(gfx::Rect frame);
    void setUp() override;

    // 1 the arrow at the right edge, 0 at the left edge, -1 no room for it; other values nothing.
    void SetHeaderIconPosition(int16_t position);
    void SetHeaderRankEnable(bool selected, int upDown);
    void handleTapEvent();

    base::Weak<GeneralHeaderViewDelegate> delegate;
    // A disabled cell ignores taps.
    bool enabled = true;

    ui::Label &fieldLabel() { return *m_fieldLabel; }
    ui::ImageView &headerIcon() { return *m_headerIcon; }
    ui::TapRecognizer &tapRecognizer() { return *m_tapRecognizer; }
    uint8_t isUpDown() const { return m_isUpDown; }

private:
    base::Ref<ui::TapRecognizer> m_tapRecognizer;
    base::Ref<ui::Label> m_fieldLabel;
    base::Ref<ui::ImageView> m_headerIcon;
    uint8_t m_isUpDown = 0;
};
