#pragma once

#include "base/Value.h"
#include "ui/Label.h"
#include "ui/TableCell.h"

#include <optional>
#include <string>

// The rows of the price-alarm screens share one grid: 25 points in from the left, columns 5 apart,
// lines a quarter of the row high, a column unit a quarter of the row less the margins. Line 1
// holds the name (one unit at the left edge) and the code (one unit further); below them come
// labelled values, a caption at the left of its frame and the value at the right of the same frame.
class CMAlarmBaseCell : public ui::TableCell {
public:
    static constexpr float left = 25, hozSpace = 5, rightMargin = 30;
    // Captions carry the field's tag (1 to 6), values the tag plus this.
    static constexpr int ValueTagOffset = 100;

    CMAlarmBaseCell(std::string reuseIdentifier, gfx::Rect frame);

    // Caption and value over the same frame, under the tag.
    void genValueFieldWithFrame(gfx::Rect frame, const std::string &name, int tag);
    // Either may be absent and is then left as it is.
    void setValueAtTag(int tag, const std::optional<std::string> &text,
                       base::Ref<gfx::Color> color = nullptr);
    void resetValueFieldAtTag(int tag, gfx::Rect frame);
    ui::Label *captionAtTag(int tag);
    ui::Label *valueAtTag(int tag);

    ui::Label &nameLabel() { return *m_nameLabel; }
    ui::Label &codeLabel() { return *m_codeLabel; }

protected:
    float lblHeight();
    float lblWidth();
    // Line 1: the name at the left edge, `nameUnits` wide, and the code `codeAt` units plus a gap
    // further, `codeUnits` wide.
    void placeNameAndCode(float nameUnits, float codeAt, float codeUnits);
    // The left inset: while the table edits, its delete control stands there already.
    float inset();

    base::Ref<ui::Label> m_nameLabel, m_codeLabel;
};

// A current alarm: name and code, then "股价高于" and "股价低于", "日涨幅度" and "日跌幅度", "日换手率"
// and "有效期" in two columns. Name and code head the two columns, so that a whole code fits.
class CMAlarmCell : public CMAlarmBaseCell {
public:
    static constexpr const char *kIdentifier = "grenresIdentifier";

    explicit CMAlarmCell(gfx::Rect frame);
    void setAlarmValue(const base::Value &alarm);
    void layoutSubviews() override;
};

// A fired alarm: name and code, then the server's message on the lines below.
class CMAlarmDoneCell : public CMAlarmBaseCell {
public:
    static constexpr const char *kIdentifier = "grenresDoneIdentifier";

    explicit CMAlarmDoneCell(gfx::Rect frame);
    void setAlarmDoneValue(const base::Value &alarm);
    ui::Label &infoLabel() { return *m_infoLabel; }
    void layoutSubviews() override;

private:
    base::Ref<ui::Label> m_infoLabel;
};
