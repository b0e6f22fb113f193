#include "Module/DetailShowPanel/AddSearchButton.h"

#include "base/NotificationCenter.h"
#include "gfx/Font.h"
#include "gfx/Image.h"

// The field's delegate: editing shows and hides the face.
struct AddSearchButton::Relay : ui::TextFieldDelegate {
    base::Weak<AddSearchButton> owner;
    base::Opt<void> didBeginEditing(ui::TextField &) override {
        if (auto o = owner.lock())
            o->didBeginEditing();
        return {};
    }
    base::Opt<void> didEndEditing(ui::TextField &) override {
        if (auto o = owner.lock())
            o->didEndEditing();
        return {};
    }
};

AddSearchButton::AddSearchButton(gfx::Rect frame) : ui::View(frame) {
    float w = frame.width(), h = frame.height();
    m_searchField = base::make<ui::TextField>(gfx::Rect{5, 5, w - 5, h - 8});
    m_searchField->setLeftView(base::make<ui::ImageView>(gfx::Image::named("space_holder.png")),
                               ui::TextField::ViewMode::Always);
    m_searchField->setBackground(gfx::Image::named("add_background.png")->stretchable(11, 11));
    m_searchField->setPlaceholder("拼音或代码");
    m_searchField->setTextColor(gfx::Color::black());
    m_searchField->setFont(gfx::Font::system(FontSize));
    m_searchField->setContentVerticalAlignment(ui::TextField::VAlign::Center);
    m_searchField->autocapitalize = false;
    m_searchField->autocorrect = false;
    m_searchField->tag = SearchFieldTag;
    addSubview(m_searchField);

    m_frontImageView =
        base::make<ui::ImageView>(FaceFrame, gfx::Image::named("add_compare.png")->stretchable(0, 0));
    auto face = base::make<ui::Label>(gfx::Rect{0, 0, FaceFrame.width(), FaceFrame.height()});
    face->setText("叠加股票");
    face->setTextAlignment(gfx::Align::Center);
    face->setFont(gfx::Font::system(FontSize));
    face->setTextColor(gfx::Color::rgba(220 / 255.0f, 220 / 255.0f, 220 / 255.0f));
    face->setBackgroundColor(gfx::Color::clear());
    m_frontImageView->addSubview(face);
    // The face lets touches through to the field below it.
    m_frontImageView->userInteractionEnabled = false;
    addSubview(m_frontImageView);
}

AddSearchButton::~AddSearchButton() {
    base::NotificationCenter::shared().removeObserver(this);
}

void AddSearchButton::setUp() {
    ui::View::setUp();
    base::Weak<AddSearchButton> weak = weakSelf<AddSearchButton>();
    m_relay = base::make<Relay>();
    m_relay->owner = weak;
    m_searchField->delegate = m_relay;
    base::NotificationCenter::shared().addObserver(weak, ui::TextField::TextDidChangeNotification,
                                                   [weak](const base::Notification &n) {
                                                       if (auto self = weak.lock())
                                                           self->textDidChange(n);
                                                   });
}

void AddSearchButton::DismissKeyPad() {
    m_searchField->resignFirstResponder();
}

void AddSearchButton::didBeginEditing() {
    m_frontImageView->setHidden(true);
    m_searchField->setText("");
    m_searchFieldEditing = true;
}

void AddSearchButton::didEndEditing() {
    m_frontImageView->setHidden(false);
    m_searchFieldEditing = false;
}

void AddSearchButton::textDidChange(const base::Notification &notification) {
    auto field = std::dynamic_pointer_cast<ui::TextField>(notification.object);
    if (!field || !m_searchFieldEditing || !field->isFirstResponder())
        return;
    if (auto d = delegate.lock())
        d->ReturnSearchFieldText(field->text());
}
