#include "Module/Market/DefaultHeaderView.h"

#include "gfx/Font.h"

namespace {

constexpr const char *DownImage = "Header_Down.png";
constexpr const char *UpImage = "Header_Up.png";

} // namespace

DefaultHeaderView::DefaultHeaderView(gfx::Rect frame) : ui::View(frame) {
    float w = frame.width(), h = frame.height();
    m_updownTagImage = base::make<ui::ImageView>(gfx::Rect{10, 5, 20, 20}, gfx::Image::named(DownImage));
    addSubview(m_updownTagImage);
    m_fieldNameLabel = base::make<ui::Label>(gfx::Rect{20, 0, w - 40, h});
    m_fieldNameLabel->setBackgroundColor(gfx::Color::clear());
    m_fieldNameLabel->setTextColor(gfx::Color::white());
    m_fieldNameLabel->setTextAlignment(gfx::Align::Center);
    m_fieldNameLabel->setFont(gfx::Font::boldSystem(14));
    addSubview(m_fieldNameLabel);
    m_pushTagImage =
        base::make<ui::ImageView>(gfx::Rect{w - 30, 10, 18, 18}, gfx::Image::named("pushTag.png"));
    addSubview(m_pushTagImage);
}

void DefaultHeaderView::SetImageUpdown(int upDown) {
    if (upDown == 0 || upDown == 1)
        m_updownTagImage->setImage(gfx::Image::named(upDown ? UpImage : DownImage));
}

void DefaultHeaderView::SetFieldArray(const base::Array &rows, int classID) {
    m_fieldArray = rows;
    m_classID = classID;
}

void DefaultHeaderView::touchesBegan(const ui::TouchSet &touches, const ui::Event &) {
    if (touches.empty())
        return;
    float x = touches.front()->location(this).x, w = bounds().width();
    if (x < w - SortMargin) {
        if (auto d = delegate.lock())
            d->ReturnUpdownClassID(m_classID, headerID);
    } else if (x > w - MarkerMargin && !m_pushTagImage->isHidden()) {
        openFieldTable();
    }
}

void DefaultHeaderView::openFieldTable() {
    if (!m_fieldTablePopoverController) {
        auto list = base::make<FieldTableController>();
        list->SetFieldArray(m_fieldArray);
        list->delegate = self<DefaultHeaderView>();
        m_fieldTablePopoverController = base::make<ui::Popover>(list);
    }
    m_fieldTablePopoverController->presentFromRect(m_pushTagImage->bounds(), *m_pushTagImage, ui::ArrowUp,
                                                   true);
}

base::Opt<void> DefaultHeaderView::SelectedFieldName(const std::string &name, int classID) {
    base::Ref<ui::View> alive = self<ui::View>();
    if (m_fieldTablePopoverController)
        m_fieldTablePopoverController->dismiss(true);
    m_classID = classID;
    if (auto d = delegate.lock())
        d->ReturnCurrentSelectedFieldName(name, classID, headerID);
    return {};
}
