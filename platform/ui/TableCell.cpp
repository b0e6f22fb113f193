#include "ui/TableCell.h"

#include "ui/Button.h"
#include "ui/TableView.h"

#include <algorithm>

namespace ui {

namespace {

constexpr float Margin = 10, ConfirmWidth = 64, DetailColumn = 70;

base::Ref<gfx::Color> selectionColor(TableCell::Selection style) {
    return style == TableCell::Selection::Gray ? gfx::Color::rgba(0.6f, 0.6f, 0.6f, 1)
                                               : gfx::Color::rgba(0.02f, 0.45f, 0.9f, 1);
}

// The drawn chevron or check mark of the standard accessories.
class AccessoryMark : public View {
public:
    AccessoryMark(TableCell::Accessory kind) : View({0, 0, 20, 20}), kind_(kind) {
        userInteractionEnabled = false;
    }

    void drawRect(gfx::Context &c, gfx::Rect) override {
        gfx::Rect b = bounds();
        c.setLineWidth(3);
        c.beginPath();
        if (kind_ == TableCell::Accessory::Checkmark) {
            c.setStroke(*gfx::Color::rgba(0.2f, 0.33f, 0.53f, 1));
            c.moveTo({b.minX() + 3, b.midY()});
            c.lineTo({b.midX() - 1, b.maxY() - 4});
            c.lineTo({b.maxX() - 3, b.minY() + 3});
        } else {
            c.setStroke(*gfx::Color::gray());
            c.moveTo({b.midX() - 3, b.minY() + 4});
            c.lineTo({b.midX() + 4, b.midY()});
            c.lineTo({b.midX() - 3, b.maxY() - 4});
        }
        c.strokePath();
    }

private:
    TableCell::Accessory kind_;
};

// The red disc with a white bar that asks for a row's deletion.
class DeleteControl : public Control {
public:
    DeleteControl() : Control({0, 0, TableCell::EditControlWidth, 30}) {}
    void drawRect(gfx::Context &c, gfx::Rect) override {
        gfx::Rect b = bounds();
        gfx::Rect disc{b.midX() - 11, b.midY() - 11, 22, 22};
        c.setFill(*gfx::Color::rgba(0.85f, 0.12f, 0.1f, 1));
        c.fillEllipse(disc);
        c.setFill(*gfx::Color::white());
        c.fillRect({disc.minX() + 5, disc.midY() - 1.5f, 12, 3});
    }
};

// The grip a finger drags to move a row.
class ReorderGrip : public View {
public:
    ReorderGrip(TableCell &cell) : View({0, 0, TableCell::ReorderWidth, 30}), cell_(&cell) {}

    void drawRect(gfx::Context &c, gfx::Rect) override {
        gfx::Rect b = bounds();
        c.setFill(*gfx::Color::rgba(0.55f, 0.55f, 0.55f, 1));
        for (int i = -1; i <= 1; ++i)
            c.fillRect({b.midX() - 9, b.midY() + float(i) * 5 - 1, 18, 2});
    }
    void touchesBegan(const TouchSet &t, const Event &) override { drag(t, Touch::Phase::Began); }
    void touchesMoved(const TouchSet &t, const Event &) override { drag(t, Touch::Phase::Moved); }
    void touchesEnded(const TouchSet &t, const Event &) override { drag(t, Touch::Phase::Ended); }
    void touchesCancelled(const TouchSet &t, const Event &) override { drag(t, Touch::Phase::Cancelled); }

private:
    void drag(const TouchSet &touches, Touch::Phase phase) {
        if (TableView *table = cell_->table(); table && !touches.empty())
            table->dragRow(*cell_, phase, touches.front()->location(table));
    }
    TableCell *cell_;
};

} // namespace

TableCell::TableCell(Style style, std::string reuseIdentifier)
    : View({0, 0, 320, 44}), style_(style), reuseIdentifier_(std::move(reuseIdentifier)),
      content_(base::make<View>(gfx::Rect{0, 0, 320, 44})), fill_(base::make<View>()) {
    fill_->setHidden(true);
    addSubview(fill_);
    addSubview(content_);
}

TableCell::~TableCell() = default;

Label *TableCell::textLabel() {
    if (!text_) {
        text_ = base::make<Label>();
        text_->setFont(gfx::Font::boldSystem(style_ == Style::Value2 ? 12 : 18));
        if (style_ == Style::Value2) {
            text_->setTextAlignment(gfx::Align::Right);
            text_->setTextColor(gfx::Color::rgba(0.32f, 0.4f, 0.57f, 1));
        }
        text_->setHighlightedTextColor(gfx::Color::white());
        content_->addSubview(text_);
        setNeedsLayout();
    }
    return text_.get();
}

Label *TableCell::detailTextLabel() {
    if (style_ == Style::Default)
        return nullptr;
    if (!detail_) {
        detail_ = base::make<Label>();
        detail_->setFont(gfx::Font::system(style_ == Style::Subtitle ? 14 : 16));
        detail_->setTextColor(style_ == Style::Value1 ? gfx::Color::rgba(0.22f, 0.33f, 0.53f, 1)
                                                      : gfx::Color::gray());
        if (style_ == Style::Value1)
            detail_->setTextAlignment(gfx::Align::Right);
        detail_->setHighlightedTextColor(gfx::Color::white());
        content_->addSubview(detail_);
        setNeedsLayout();
    }
    return detail_.get();
}

ImageView *TableCell::imageView() {
    if (!image_) {
        image_ = base::make<ImageView>();
        content_->addSubview(image_);
        setNeedsLayout();
    }
    return image_.get();
}

void TableCell::setBackgroundView(base::Ref<View> view) {
    if (background_)
        background_->removeFromSuperview();
    background_ = std::move(view);
    if (background_)
        insertSubview(background_, 0);
    setNeedsLayout();
}

void TableCell::setSelectedBackgroundView(base::Ref<View> view) {
    if (selectedBackground_)
        selectedBackground_->removeFromSuperview();
    selectedBackground_ = std::move(view);
    if (selectedBackground_)
        insertSubviewBelow(selectedBackground_, content_.get());
    updateLook();
    setNeedsLayout();
}

void TableCell::setAccessoryType(Accessory type) {
    if (type == accessoryType_)
        return;
    accessoryType_ = type;
    if (standardAccessory_)
        standardAccessory_->removeFromSuperview();
    standardAccessory_ = nullptr;
    if (type == Accessory::DetailDisclosureButton) {
        auto button = Button::detailDisclosure();
        button->addTarget(base::Action(weakSelf<View>(), "accessoryTapped",
                                       [this](base::Object *) {
                                           if (table_)
                                               table_->accessoryTapped(*this);
                                       }),
                          TouchUpInside);
        standardAccessory_ = button;
    } else if (type != Accessory::None) {
        standardAccessory_ = base::make<AccessoryMark>(type);
    }
    if (standardAccessory_ && !accessoryView_)
        addSubview(standardAccessory_);
    setNeedsLayout();
}

void TableCell::setAccessoryView(base::Ref<View> view) {
    if (accessoryView_)
        accessoryView_->removeFromSuperview();
    accessoryView_ = std::move(view);
    if (standardAccessory_)
        standardAccessory_->setHidden(bool(accessoryView_));
    if (accessoryView_)
        addSubview(accessoryView_);
    else if (standardAccessory_ && !standardAccessory_->superview())
        addSubview(standardAccessory_);
    setNeedsLayout();
}

bool TableCell::showsSelection() const {
    return (selected_ || highlighted_) && selectionStyle != Selection::None;
}

void TableCell::updateLook() {
    bool shown = showsSelection();
    bool grouped = table_ && table_->style() == TableView::Style::Grouped;
    if (selectedBackground_)
        selectedBackground_->setHidden(!shown);
    fill_->setHidden(!shown || selectedBackground_ || grouped);
    fill_->setBackgroundColor(selectionColor(selectionStyle));
    // A grouped cell draws its selection into its panel.
    setNeedsDisplay();
    for (auto &label : {text_, detail_})
        if (label)
            label->setHighlighted(shown);
}

void TableCell::setSelected(bool selected, bool) {
    selected_ = selected;
    updateLook();
}

void TableCell::setHighlighted(bool highlighted, bool) {
    highlighted_ = highlighted;
    updateLook();
}

void TableCell::prepareForReuse() {
    selected_ = highlighted_ = false;
    showConfirmation(false);
    updateLook();
}

void TableCell::placeIn(TableView *table, Position position) {
    table_ = table;
    position_ = position;
    updateLook();
}

void TableCell::setEditing(bool editing, bool deletable, bool movable) {
    editing_ = editing;
    if (editing && deletable && !deleteControl_) {
        deleteControl_ = base::make<DeleteControl>();
        deleteControl_->addTarget(base::Action(weakSelf<View>(), "deleteControl",
                                               [this](base::Object *) { showConfirmation(!confirm_); }),
                                  TouchUpInside);
        addSubview(deleteControl_);
    } else if (!(editing && deletable) && deleteControl_) {
        deleteControl_->removeFromSuperview();
        deleteControl_ = nullptr;
        showConfirmation(false);
    }
    if (editing && movable && !reorder_) {
        reorder_ = base::make<ReorderGrip>(*this);
        addSubview(reorder_);
    } else if (!(editing && movable) && reorder_) {
        reorder_->removeFromSuperview();
        reorder_ = nullptr;
    }
    setNeedsLayout();
}

bool TableCell::isShowingDeleteConfirmation() const {
    return bool(confirm_);
}

void TableCell::showConfirmation(bool shown) {
    if (shown == bool(confirm_))
        return;
    if (!shown) {
        confirm_->removeFromSuperview();
        confirm_ = nullptr;
    } else {
        auto button = Button::custom();
        button->setTitle("删除");
        button->setTitleColor(gfx::Color::white());
        button->setBackgroundColor(gfx::Color::rgba(0.85f, 0.12f, 0.1f, 1));
        button->layer().cornerRadius = 5;
        button->addTarget(
            base::Action(weakSelf<View>(), "confirmDelete", [this](base::Object *) { confirmDelete(); }),
            TouchUpInside);
        confirm_ = button;
        addSubview(confirm_);
    }
    setNeedsLayout();
}

void TableCell::confirmDelete() {
    base::Ref<View> keep = self<View>();
    showConfirmation(false);
    if (table_)
        table_->commitDelete(*this);
}

void TableCell::layoutSubviews() {
    gfx::Rect b = bounds();
    float left = deleteControl_ ? EditControlWidth : 0, right = 0;
    if (deleteControl_)
        deleteControl_->setFrame({0, 0, EditControlWidth, b.height()});
    View *accessory = accessoryView_ ? accessoryView_.get() : standardAccessory_.get();
    if (reorder_) {
        right = ReorderWidth;
        reorder_->setFrame({b.width() - ReorderWidth, 0, ReorderWidth, b.height()});
    }
    if (accessory) {
        // Accessories give way to the reorder grip while editing.
        accessory->setHidden(bool(reorder_));
        if (!reorder_) {
            gfx::Rect f = accessory->frame();
            float w = std::max(f.width(), 20.f);
            accessory->setFrame(
                {b.width() - w - Margin, (b.height() - f.height()) / 2, f.width(), f.height()});
            right = w + 2 * Margin;
        }
    }
    if (confirm_) {
        confirm_->setFrame({b.width() - right - ConfirmWidth - 4, (b.height() - 30) / 2, ConfirmWidth, 30});
        right += ConfirmWidth + 8;
    }
    for (auto &v : {background_, selectedBackground_, fill_})
        if (v)
            v->setFrame(b);
    content_->setFrame({left, 0, std::max(0.f, b.width() - left - right), b.height()});

    gfx::Rect c = content_->bounds();
    float x = Margin;
    if (image_ && image_->image()) {
        gfx::Size s = image_->image()->size();
        image_->setFrame({Margin, (c.height() - s.h) / 2, s.w, s.h});
        x += s.w + Margin;
    }
    float w = std::max(0.f, c.width() - x - Margin);
    switch (style_) {
    case Style::Default:
        if (text_)
            text_->setFrame({x, 0, w, c.height()});
        break;
    case Style::Subtitle:
        if (text_)
            text_->setFrame({x, 2, w, c.height() * 0.55f});
        if (detail_)
            detail_->setFrame({x, c.height() * 0.55f, w, c.height() * 0.4f});
        break;
    case Style::Value1:
        if (text_)
            text_->setFrame({x, 0, w / 2, c.height()});
        if (detail_)
            detail_->setFrame({x + w / 2, 0, w / 2, c.height()});
        break;
    case Style::Value2:
        if (text_)
            text_->setFrame({x, 0, DetailColumn, c.height()});
        if (detail_)
            detail_->setFrame({x + DetailColumn + 6, 0, std::max(0.f, w - DetailColumn - 6), c.height()});
        break;
    }
}

void TableCell::drawRect(gfx::Context &c, gfx::Rect) {
    if (!table_)
        return View::drawRect(c, bounds());
    gfx::Rect b = bounds();
    auto separator = table_->separatorColor ? table_->separatorColor : gfx::Color::lightGray();
    bool lines = table_->separatorStyle == TableView::Separator::SingleLine;
    if (table_->style() == TableView::Style::Plain) {
        if (!lines)
            return View::drawRect(c, b);
        c.setFill(*separator);
        c.fillRect({0, b.height() - 1, b.width(), 1});
        return;
    }
    // A grouped section is one rounded white panel: its ends round off, rows between are divided.
    const float radius = 8;
    bool top = position_ == Position::Single || position_ == Position::Top;
    bool bottom = position_ == Position::Single || position_ == Position::Bottom;
    gfx::Rect panel = b.inset(0.5f, 0);
    panel = {panel.x(), top ? 0.5f : -radius, panel.width(),
             b.height() + (top ? -0.5f : radius) + (bottom ? -0.5f : radius)};
    c.save();
    c.clipToRect(b);
    c.beginPath();
    c.moveTo({panel.minX() + radius, panel.minY()});
    c.addArcToPoint({panel.maxX(), panel.minY()}, {panel.maxX(), panel.maxY()}, radius);
    c.addArcToPoint({panel.maxX(), panel.maxY()}, {panel.minX(), panel.maxY()}, radius);
    c.addArcToPoint({panel.minX(), panel.maxY()}, {panel.minX(), panel.minY()}, radius);
    c.addArcToPoint({panel.minX(), panel.minY()}, {panel.maxX(), panel.minY()}, radius);
    c.closePath();
    c.setFill(showsSelection() && !selectedBackground_ ? *selectionColor(selectionStyle)
                                                       : *gfx::Color::white());
    c.setStroke(*gfx::Color::rgba(0.67f, 0.67f, 0.67f, 1));
    c.fillAndStrokePath();
    if (!bottom && lines) {
        c.setFill(*separator);
        c.fillRect({0, b.height() - 1, b.width(), 1});
    }
    c.restore();
}

} // namespace ui
