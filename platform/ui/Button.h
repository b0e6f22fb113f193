#pragma once

#include "gfx/Image.h"
#include "ui/Control.h"
#include "ui/ImageView.h"
#include "ui/Label.h"

#include <map>
#include <string>

namespace ui {

// A button: a background image stretched over its bounds, then an image and a title side by side,
// centred. Each is set per state; a state without its own value shows the normal one.
class Button : public Control {
public:
    enum class Type { Custom, ContactAdd, DetailDisclosure };

    explicit Button(gfx::Rect frame = {}, Type type = Type::Custom);
    static base::Ref<Button> custom(gfx::Rect frame = {});
    // The round "+" button, 29 × 29.
    static base::Ref<Button> contactAdd();
    // The round blue button with a chevron that opens a row's details, 29 × 29.
    static base::Ref<Button> detailDisclosure();

    Type type() const { return type_; }
    void setTitle(std::string title, unsigned state = Normal);
    void setTitleColor(base::Ref<gfx::Color> color, unsigned state = Normal);
    void setTitleShadowColor(base::Ref<gfx::Color> color, unsigned state = Normal);
    void setImage(base::Ref<gfx::Image> image, unsigned state = Normal);
    void setBackgroundImage(base::Ref<gfx::Image> image, unsigned state = Normal);
    std::string titleForState(unsigned state) const;
    base::Ref<gfx::Image> imageForState(unsigned state) const;
    base::Ref<gfx::Image> backgroundImageForState(unsigned state) const;
    std::string currentTitle() const { return titleForState(state()); }
    base::Ref<gfx::Image> currentImage() const { return imageForState(state()); }

    Label &titleLabel() { return *title_; }
    ImageView &imageView() { return *image_; }
    gfx::EdgeInsets contentEdgeInsets, titleEdgeInsets, imageEdgeInsets;

    gfx::Size sizeThatFits(gfx::Size size) const override;
    void layoutSubviews() override;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

private:
    template <class T> static T pick(const std::map<unsigned, T> &values, unsigned state);
    void changed();

    Type type_;
    std::map<unsigned, std::string> titles_;
    std::map<unsigned, base::Ref<gfx::Color>> titleColors_, shadowColors_;
    std::map<unsigned, base::Ref<gfx::Image>> images_, backgrounds_;
    base::Ref<ImageView> background_, image_;
    base::Ref<Label> title_;
};

} // namespace ui
