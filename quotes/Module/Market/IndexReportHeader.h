#pragma once

#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <string>

// A section header of a background picture ("header_bg.png") under a left-aligned white title: the
// index groups of the market screen's index tab, and the search popover's recent list, which
// changes the title's font and picture.
class IndexReportHeader : public ui::View {
public:
    static constexpr float TitleInset = 10;

    explicit IndexReportHeader(gfx::Rect frame);

    void setTitleText(const std::string &text) { m_titleLabel->setText(text); }
    void setBackgroundImageViewWithImage(base::Ref<gfx::Image> image) {
        m_backgroundImageView->setImage(std::move(image));
    }
    ui::Label &titleLabel() { return *m_titleLabel; }
    ui::ImageView &backgroundImageView() { return *m_backgroundImageView; }

private:
    base::Ref<ui::ImageView> m_backgroundImageView;
    base::Ref<ui::Label> m_titleLabel;
};
