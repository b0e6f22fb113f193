#pragma once

#include "Module/Market/DefaultHeaderView.h"

#include "ui/ImageView.h"
#include "ui/Label.h"

#include <cstdint>
#include <string>

// What the mini-trend header tells its list.
class DefaultColumnDelegate {
public:
    virtual ~DefaultColumnDelegate() = default;
    // Sort by this field in this direction (0 descending, 1 ascending).
    virtual base::Opt<void> ReturnUpdownTag(int upDown, int classID, int headerID) {
        (void)upDown, (void)classID, (void)headerID;
        return base::notImplemented;
    }
    // Cell `headerID` now shows this field: show it in the rows and sort by it descending.
    virtual base::Opt<void> ReturnSelectedFieldName(const std::string &name, int classID, int headerID) {
        (void)name, (void)classID, (void)headerID;
        return base::notImplemented;
    }
};

// The header over a market list in mini-trend mode: the caption "名称" and five cells (tags 1600 +
// header id): the latest price (0) and rise (1), whose fields the list fixes, and three value cells
// (2 to 4) whose fields the user swaps from a pull-down list. The sort state is the selected cell
// and its direction: it starts at cell 1 descending; a tap on the selected cell reverses the
// direction, a tap on another cell or a field choice selects that cell descending. With no cell
// selected (-1) taps sort nothing until a field is chosen.
class DefaultColumn : public ui::View, public DefaultHeaderViewDelegate {
public:
    static constexpr int BeginTag = 1600;
    static constexpr int HeaderCount = 5;
    static constexpr float CellWidth = 120;
    static constexpr float CellX[HeaderCount] = {130, 240, 360, 480, 600};

    explicit DefaultColumn(gfx::Rect frame);
    void setUp() override;

    // Cell `headerID` sorts by `classID` and offers `rows`; its caption is the name of the last row
    // carrying that id (empty when none does).
    void SetPullList(const base::Array &rows, int classID, int headerID);
    void SetEnableRank(bool showArrow, bool showMarker, int headerID);
    // Selects that cell descending, or none for -1.
    void SetDefaultSelectedHeader(int headerID);

    base::Opt<void> ReturnUpdownClassID(int classID, int headerID) override;
    base::Opt<void> ReturnCurrentSelectedFieldName(const std::string &name, int classID,
                                                   int headerID) override;

    DefaultHeaderView *headerAt(int headerID);
    int currentSelHeader = 1;
    uint8_t isRank() const { return m_isRank; }
    base::Weak<DefaultColumnDelegate> delegate;

private:
    base::Ref<ui::ImageView> m_backgroundView;
    base::Ref<ui::Label> m_stockNameLabel;
    uint8_t m_isRank = 0;
};
