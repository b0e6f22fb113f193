#include "ui/TableView.h"

#include "ui/Animator.h"
#include "ui/Label.h"

#include <algorithm>

namespace ui {

namespace {

constexpr double RowDuration = 0.3;
constexpr float GroupedHeader = 36, GroupedFooter = 30, GroupedGap = 10;

// The strip of section titles at the table's right edge; a touch on an entry leads to its section.
class SectionIndex : public View {
public:
    SectionIndex(TableView &table) : table_(&table) {}
    std::vector<std::string> titles;

    void drawRect(gfx::Context &c, gfx::Rect) override {
        auto font = gfx::Font::boldSystem(12);
        c.setFill(*gfx::Color::rgba(0.3f, 0.34f, 0.42f, 1));
        float step = entryHeight(), top = (bounds().height() - step * float(titles.size())) / 2;
        for (size_t i = 0; i < titles.size(); ++i)
            c.drawText(titles[i], gfx::Rect{0, top + step * float(i), bounds().width(), step}, *font,
                       gfx::LineBreak::Clip, gfx::Align::Center);
    }
    void touchesBegan(const TouchSet &t, const Event &) override { go(t); }
    void touchesMoved(const TouchSet &t, const Event &) override { go(t); }
    void touchesEnded(const TouchSet &, const Event &) override {}
    void touchesCancelled(const TouchSet &, const Event &) override {}

private:
    float entryHeight() const {
        return titles.empty() ? 0 : std::min(16.f, bounds().height() / float(titles.size()));
    }
    void go(const TouchSet &touches) {
        if (touches.empty() || titles.empty())
            return;
        float step = entryHeight(), top = (bounds().height() - step * float(titles.size())) / 2;
        int i = std::clamp(int((touches.front()->location(this).y - top) / step), 0, int(titles.size()) - 1);
        int section = i;
        if (auto source = table_->dataSource.lock())
            section = source->sectionForIndexTitle(*table_, titles[size_t(i)], i).valueOr(i);
        table_->scrollToSection(section);
    }
    TableView *table_;
};

} // namespace

float TableView::Section::height() const {
    float h = header + footer;
    for (float r : rows)
        h += r;
    return h;
}

TableView::TableView(gfx::Rect frame, Style style) : ScrollView(frame), style_(style) {
    alwaysBounceVertical = true;
    setBackgroundColor(style == Style::Grouped ? gfx::Color::rgba(0.84f, 0.86f, 0.9f, 1)
                                               : gfx::Color::white());
    index_ = base::make<SectionIndex>(*this);
    index_->setHidden(true);
    addSubview(index_);
}

TableView::~TableView() = default;

base::Ref<ScrollViewDelegate> TableView::scrollDelegate() const {
    if (auto d = delegate.lock())
        return d;
    return ScrollView::scrollDelegate();
}

void TableView::setBackgroundView(base::Ref<View> view) {
    if (background_)
        background_->removeFromSuperview();
    background_ = std::move(view);
    if (background_)
        insertSubview(background_, 0);
    placeIndex();
}

void TableView::setTableHeaderView(base::Ref<View> view) {
    if (header_)
        header_->removeFromSuperview();
    header_ = std::move(view);
    if (header_)
        addSubview(header_);
    if (loaded_)
        reloadData();
}

void TableView::setTableFooterView(base::Ref<View> view) {
    if (footer_)
        footer_->removeFromSuperview();
    footer_ = std::move(view);
    if (footer_)
        addSubview(footer_);
    if (loaded_)
        reloadData();
}

void TableView::setEditing(bool editing, bool) {
    editing_ = editing;
    for (auto &[path, cell] : visible_)
        layoutCell(*cell, path);
}

int TableView::numberOfRows(int section) const {
    return section >= 0 && section < int(sections_.size()) ? int(sections_[size_t(section)].rows.size()) : 0;
}

base::Ref<View> TableView::makeHeader(const std::string &title, bool footer) const {
    auto label = base::make<Label>();
    label->setText(title);
    if (style_ == Style::Grouped) {
        label->setFont(footer ? gfx::Font::system(15) : gfx::Font::boldSystem(17));
        label->setTextColor(gfx::Color::rgba(0.3f, 0.34f, 0.42f, 1));
        label->setShadowColor(gfx::Color::white());
        label->setShadowOffset({0, 1});
        if (footer)
            label->setTextAlignment(gfx::Align::Center);
        return label;
    }
    auto bar = base::make<View>();
    bar->setBackgroundColor(gfx::Color::rgba(0.56f, 0.62f, 0.69f, 0.9f));
    label->setFont(gfx::Font::boldSystem(16));
    label->setTextColor(gfx::Color::white());
    label->setShadowColor(gfx::Color::white(0, 0.4f));
    label->setFrame({12, 0, 1000, 0});
    label->autoresizingMask = FlexibleHeight;
    bar->addSubview(label);
    return bar;
}

void TableView::measure() {
    for (auto &s : sections_)
        for (auto &v : {s.headerView, s.footerView})
            if (v)
                v->removeFromSuperview();
    sections_.clear();
    indexTitles_.clear();
    auto source = dataSource.lock();
    auto d = delegate.lock();
    float y = header_ ? header_->frame().height() : 0;
    int count = source ? std::max(0, source->numberOfSections(*this)) : 0;
    for (int s = 0; s < count; ++s) {
        Section section;
        section.top = y;
        int rows = std::max(0, source->numberOfRows(*this, s));
        for (int r = 0; r < rows; ++r)
            section.rows.push_back(d ? d->heightForRow(*this, {s, r}).valueOr(rowHeight) : rowHeight);
        section.headerTitle = source->titleForHeader(*this, s).valueOr("");
        section.footerTitle = source->titleForFooter(*this, s).valueOr("");
        if (d)
            section.headerView = d->viewForHeader(*this, s).valueOr(nullptr);
        if (!section.headerView && !section.headerTitle.empty())
            section.headerView = makeHeader(section.headerTitle, false);
        if (d)
            section.footerView = d->viewForFooter(*this, s).valueOr(nullptr);
        if (!section.footerView && !section.footerTitle.empty())
            section.footerView = makeHeader(section.footerTitle, true);
        bool grouped = style_ == Style::Grouped;
        float header =
            section.headerView ? (grouped ? GroupedHeader : sectionHeaderHeight) : (grouped ? GroupedGap : 0);
        float footer =
            section.footerView ? (grouped ? GroupedFooter : sectionFooterHeight) : (grouped ? GroupedGap : 0);
        section.header = d ? d->heightForHeader(*this, s).valueOr(header) : header;
        section.footer = d ? d->heightForFooter(*this, s).valueOr(footer) : footer;
        for (auto &v : {section.headerView, section.footerView})
            if (v)
                addSubview(v);
        y += section.height();
        sections_.push_back(std::move(section));
    }
    if (source)
        indexTitles_ = source->sectionIndexTitles(*this).valueOr({});
    static_cast<SectionIndex &>(*index_).titles = indexTitles_;
    index_->setNeedsDisplay();
    if (footer_) {
        gfx::Rect f = footer_->frame();
        footer_->setFrame({f.x(), y, f.width(), f.height()});
        y += f.height();
    }
    setContentSize({bounds().width(), y});
    place();
    placeHeaders();
}

void TableView::place() {
    float w = bounds().width();
    bool grouped = style_ == Style::Grouped;
    float inset = grouped ? GroupMargin : 0;
    for (auto &s : sections_) {
        if (s.headerView && grouped)
            s.headerView->setFrame({inset + 10, s.top, w - 2 * inset - 10, s.header});
        if (s.footerView)
            s.footerView->setFrame({inset, s.top + s.height() - s.footer, w - 2 * inset, s.footer});
    }
    if (header_) {
        gfx::Rect f = header_->frame();
        header_->setFrame({0, 0, w, f.height()});
    }
    placeIndex();
}

void TableView::placeHeaders() {
    if (style_ != Style::Plain)
        return;
    // A plain section's header stays at the top of the view while its rows pass beneath it.
    float w = bounds().width(), top = contentOffset().y + contentInset().top;
    for (auto &s : sections_)
        if (s.headerView) {
            float y = std::clamp(top, s.top, std::max(s.top, s.top + s.height() - s.footer - s.header));
            s.headerView->setFrame({0, y, w, s.header});
        }
}

void TableView::placeIndex() {
    gfx::Rect b = bounds();
    index_->setHidden(indexTitles_.empty());
    index_->setFrame({b.maxX() - IndexWidth, b.y(), IndexWidth, b.height()});
    bringSubviewToFront(index_.get());
    if (background_)
        background_->setFrame(b);
}

gfx::Rect TableView::rectForRow(IndexPath path) const {
    if (path.section < 0 || path.section >= int(sections_.size()))
        return {};
    const Section &s = sections_[size_t(path.section)];
    if (path.row < 0 || path.row >= int(s.rows.size()))
        return {};
    float y = s.rowsTop();
    for (int r = 0; r < path.row; ++r)
        y += s.rows[size_t(r)];
    float inset = style_ == Style::Grouped ? GroupMargin : 0;
    float w = bounds().width() - 2 * inset - (indexTitles_.empty() ? 0 : IndexWidth);
    return {inset, y, w, s.rows[size_t(path.row)]};
}

gfx::Rect TableView::rectForHeader(int section) const {
    if (section < 0 || section >= int(sections_.size()))
        return {};
    return {0, sections_[size_t(section)].top, bounds().width(), sections_[size_t(section)].header};
}

gfx::Rect TableView::rectForSection(int section) const {
    if (section < 0 || section >= int(sections_.size()))
        return {};
    return {0, sections_[size_t(section)].top, bounds().width(), sections_[size_t(section)].height()};
}

std::optional<IndexPath> TableView::indexPathForRow(gfx::Point point) const {
    for (int s = 0; s < int(sections_.size()); ++s) {
        const Section &section = sections_[size_t(s)];
        float y = section.rowsTop();
        for (int r = 0; r < int(section.rows.size()); ++r) {
            if (point.y >= y && point.y < y + section.rows[size_t(r)])
                return rectForRow({s, r}).contains(point) ? std::optional<IndexPath>(IndexPath{s, r})
                                                          : std::nullopt;
            y += section.rows[size_t(r)];
        }
    }
    return std::nullopt;
}

std::optional<IndexPath> TableView::indexPathForCell(const TableCell &cell) const {
    for (auto &[path, c] : visible_)
        if (c.get() == &cell)
            return path;
    return std::nullopt;
}

base::Ref<TableCell> TableView::cellForRow(IndexPath path) const {
    auto it = visible_.find(path);
    return it == visible_.end() ? nullptr : it->second;
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() const {
    std::vector<IndexPath> paths;
    for (auto &[path, cell] : visible_)
        paths.push_back(path);
    return paths;
}

std::vector<base::Ref<TableCell>> TableView::visibleCells() const {
    std::vector<base::Ref<TableCell>> cells;
    for (auto &[path, cell] : visible_)
        cells.push_back(cell);
    return cells;
}

View *TableView::headerView(int section) const {
    return section >= 0 && section < int(sections_.size()) ? sections_[size_t(section)].headerView.get()
                                                           : nullptr;
}

bool TableView::canDelete(IndexPath path) const {
    auto source = dataSource.lock();
    if (!editing_ || !source || !source->canEditRow(*const_cast<TableView *>(this), path).valueOr(true))
        return false;
    auto d = delegate.lock();
    return !d || d->editingStyle(*const_cast<TableView *>(this), path).valueOr(EditingStyle::Delete) ==
                     EditingStyle::Delete;
}

bool TableView::canMove(IndexPath path) const {
    auto source = dataSource.lock();
    return editing_ && source && source->canMoveRow(*const_cast<TableView *>(this), path).valueOr(false);
}

void TableView::layoutCell(TableCell &cell, IndexPath path) {
    int rows = numberOfRows(path.section);
    TableCell::Position position = rows == 1              ? TableCell::Position::Single
                                   : path.row == 0        ? TableCell::Position::Top
                                   : path.row == rows - 1 ? TableCell::Position::Bottom
                                                          : TableCell::Position::Middle;
    cell.placeIn(this, position);
    cell.setEditing(editing_, canDelete(path), canMove(path));
    cell.setFrame(rectForRow(path));
}

void TableView::recycle(const IndexPath &path) {
    auto it = visible_.find(path);
    if (it == visible_.end())
        return;
    base::Ref<TableCell> cell = it->second;
    visible_.erase(it);
    if (dragging_ && dragging_->cell == cell)
        dragging_.reset();
    cell->removeFromSuperview();
    cell->placeIn(nullptr, TableCell::Position::Single);
    if (!cell->reuseIdentifier().empty())
        pool_[cell->reuseIdentifier()].push_back(cell);
}

void TableView::tile() {
    if (tiling_)
        return;
    tiling_ = true;
    gfx::Rect b = bounds();
    float top = b.y(), bottom = b.maxY();
    std::vector<IndexPath> wanted;
    for (int s = 0; s < int(sections_.size()); ++s) {
        const Section &section = sections_[size_t(s)];
        if (section.top > bottom || section.top + section.height() < top)
            continue;
        float y = section.rowsTop();
        for (int r = 0; r < int(section.rows.size()); ++r) {
            float h = section.rows[size_t(r)];
            if (y < bottom && y + h > top)
                wanted.push_back({s, r});
            y += h;
        }
    }
    for (auto &path : indexPathsForVisibleRows())
        if (!std::binary_search(wanted.begin(), wanted.end(), path) &&
            !(dragging_ && dragging_->from == path))
            recycle(path);
    auto source = dataSource.lock();
    for (auto &path : wanted) {
        if (!source || visible_.count(path))
            continue;
        base::Ref<TableCell> cell = source->cellForRow(*this, path);
        if (!cell)
            continue;
        visible_[path] = cell;
        layoutCell(*cell, path);
        cell->setSelected(selected_ == path, false);
        insertSubview(cell, background_ ? 1 : 0);
    }
    tiling_ = false;
}

base::Ref<TableCell> TableView::dequeueReusableCell(const std::string &identifier) {
    auto it = pool_.find(identifier);
    if (it == pool_.end() || it->second.empty())
        return nullptr;
    base::Ref<TableCell> cell = it->second.back();
    it->second.pop_back();
    cell->prepareForReuse();
    return cell;
}

void TableView::reloadData() {
    base::Ref<View> keep = self<View>();
    loaded_ = true;
    for (auto &path : indexPathsForVisibleRows())
        recycle(path);
    dragging_.reset();
    pressed_.reset();
    selected_.reset();
    measure();
    if (!isDragging() && !isDecelerating()) {
        gfx::Point o = contentOffset();
        if (o.y > maximumOffset().y)
            setContentOffset({o.x, maximumOffset().y});
    }
    tile();
}

void TableView::reloadSections(const std::vector<int> &, RowAnimation animation) {
    if (animation == RowAnimation::Fade || animation == RowAnimation::Automatic) {
        auto fade = base::make<Transition>();
        fade->duration = RowDuration;
        layer().addTransition(fade, "reloadSections");
    }
    reloadData();
}

void TableView::deleteRows(const std::vector<IndexPath> &rows, RowAnimation animation) {
    base::Ref<View> keep = self<View>();
    std::vector<IndexPath> gone(rows);
    std::sort(gone.begin(), gone.end());
    gone.erase(std::unique(gone.begin(), gone.end()), gone.end());
    std::vector<int> before;
    for (auto &s : sections_)
        before.push_back(int(s.rows.size()));
    measure();
    bool consistent = before.size() == sections_.size();
    for (size_t s = 0; consistent && s < before.size(); ++s) {
        int removed =
            int(std::count_if(gone.begin(), gone.end(), [&](auto &p) { return p.section == int(s); }));
        consistent = before[s] - removed == int(sections_[s].rows.size());
    }
    if (!consistent) {
        // The data source does not match the deletion: show what it holds now.
        reloadData();
        return;
    }
    auto shifted = [&](IndexPath p) {
        int below = int(std::count_if(gone.begin(), gone.end(),
                                      [&](auto &g) { return g.section == p.section && g.row < p.row; }));
        return IndexPath{p.section, p.row - below};
    };
    std::map<IndexPath, base::Ref<TableCell>> moved;
    std::vector<base::Ref<TableCell>> leaving;
    for (auto &[path, cell] : visible_) {
        if (std::binary_search(gone.begin(), gone.end(), path))
            leaving.push_back(cell);
        else
            moved[shifted(path)] = cell;
    }
    visible_ = std::move(moved);
    if (selected_)
        selected_ = std::binary_search(gone.begin(), gone.end(), *selected_)
                        ? std::nullopt
                        : std::optional(shifted(*selected_));
    bool animate = animation != RowAnimation::None;
    View::animate(
        animate ? RowDuration : 0,
        [&] {
            for (auto &[path, cell] : visible_)
                layoutCell(*cell, path);
            for (auto &cell : leaving) {
                gfx::Rect f = cell->frame();
                float dx = animation == RowAnimation::Right  ? f.width()
                           : animation == RowAnimation::Left ? -f.width()
                                                             : 0;
                cell->setFrame(f.offset(dx, 0));
                cell->setAlpha(0);
            }
        },
        [this, leaving, keep](bool) {
            for (auto &cell : leaving) {
                cell->removeFromSuperview();
                cell->placeIn(nullptr, TableCell::Position::Single);
                cell->setAlpha(1);
                if (!cell->reuseIdentifier().empty())
                    pool_[cell->reuseIdentifier()].push_back(cell);
            }
        });
    tile();
}

void TableView::selectRow(std::optional<IndexPath> path, bool, ScrollPosition position) {
    if (selected_)
        if (auto cell = cellForRow(*selected_))
            cell->setSelected(false, false);
    selected_ = path;
    if (!path)
        return;
    if (auto cell = cellForRow(*path))
        cell->setSelected(true, false);
    if (position != ScrollPosition::None)
        scrollToRow(*path, position, false);
}

void TableView::deselectRow(IndexPath path, bool animated) {
    if (selected_ != path)
        return;
    selected_.reset();
    if (auto cell = cellForRow(path))
        cell->setSelected(false, animated);
}

void TableView::scrollToRow(IndexPath path, ScrollPosition position, bool animated) {
    gfx::Rect r = rectForRow(path);
    if (r.isEmpty())
        return;
    if (position == ScrollPosition::None) {
        scrollRectToVisible(r, animated);
        return;
    }
    float h = bounds().height();
    float y = position == ScrollPosition::Top      ? r.y()
              : position == ScrollPosition::Middle ? r.midY() - h / 2
                                                   : r.maxY() - h;
    y = std::clamp(y, minimumOffset().y, maximumOffset().y);
    setContentOffset({contentOffset().x, y}, animated);
}

void TableView::scrollToSection(int section) {
    if (section < 0 || section >= int(sections_.size()))
        return;
    float y = std::clamp(sections_[size_t(section)].top, minimumOffset().y, maximumOffset().y);
    setContentOffset({contentOffset().x, y});
}

void TableView::layoutSubviews() {
    if (!loaded_) {
        reloadData();
        return;
    }
    if (contentSize().w != bounds().width()) {
        measure();
        for (auto &[path, cell] : visible_)
            layoutCell(*cell, path);
    }
    tile();
}

void TableView::offsetChanged() {
    tile();
    placeHeaders();
    placeIndex();
}

bool TableView::scrollsForTouch(const View *view) const {
    for (const View *v = view; v && v != this; v = v->superview()) {
        if (v == index_.get())
            return false;
        if (auto *cell = dynamic_cast<const TableCell *>(v->superview()); cell && cell->reorderControl() == v)
            return false;
    }
    return true;
}

std::optional<IndexPath> TableView::rowUnder(const TouchSet &touches) const {
    if (touches.empty())
        return std::nullopt;
    return indexPathForRow(touches.front()->location(this));
}

void TableView::touchesBegan(const TouchSet &touches, const Event &) {
    if (!allowsSelection || (editing_ && !allowsSelectionDuringEditing))
        return;
    pressed_ = rowUnder(touches);
    if (pressed_)
        if (auto cell = cellForRow(*pressed_))
            cell->setHighlighted(true, false);
}

void TableView::touchesMoved(const TouchSet &, const Event &) {}

void TableView::touchesEnded(const TouchSet &touches, const Event &) {
    std::optional<IndexPath> pressed = pressed_;
    pressed_.reset();
    if (!pressed)
        return;
    if (auto cell = cellForRow(*pressed))
        cell->setHighlighted(false, false);
    if (rowUnder(touches) == pressed)
        select(*pressed);
}

void TableView::touchesCancelled(const TouchSet &, const Event &) {
    if (pressed_)
        if (auto cell = cellForRow(*pressed_))
            cell->setHighlighted(false, false);
    pressed_.reset();
}

void TableView::select(IndexPath path) {
    base::Ref<View> keep = self<View>();
    auto d = delegate.lock();
    std::optional<IndexPath> target = path;
    if (d)
        if (auto answer = d->willSelectRow(*this, path))
            target = *answer;
    if (!target)
        return;
    if (selected_ && *selected_ != *target) {
        IndexPath previous = *selected_;
        deselectRow(previous, false);
        if (d)
            d->didDeselectRow(*this, previous);
    }
    selected_ = target;
    if (auto cell = cellForRow(*target))
        cell->setSelected(true, false);
    if (d)
        d->didSelectRow(*this, *target);
}

void TableView::commitDelete(TableCell &cell) {
    base::Ref<View> keep = self<View>();
    auto path = indexPathForCell(cell);
    if (auto source = dataSource.lock(); source && path)
        source->commitEditing(*this, EditingStyle::Delete, *path);
}

void TableView::accessoryTapped(TableCell &cell) {
    auto path = indexPathForCell(cell);
    if (auto d = delegate.lock(); d && path)
        d->accessoryButtonTapped(*this, *path);
}

void TableView::dragRow(TableCell &cell, Touch::Phase phase, gfx::Point point) {
    base::Ref<View> keep = self<View>();
    switch (phase) {
    case Touch::Phase::Began:
        if (auto path = indexPathForCell(cell)) {
            dragging_ = Dragging{cell.self<TableCell>(), *path, point.y - cell.frame().y()};
            bringSubviewToFront(&cell);
        }
        break;
    case Touch::Phase::Moved:
    case Touch::Phase::Stationary:
        if (dragging_ && dragging_->cell.get() == &cell) {
            gfx::Rect f = cell.frame();
            gfx::Rect first = rectForRow({dragging_->from.section, 0});
            gfx::Rect last = rectForRow({dragging_->from.section, numberOfRows(dragging_->from.section) - 1});
            float y = std::clamp(point.y - dragging_->grab, first.y(), last.maxY() - f.height());
            cell.setFrame({f.x(), y, f.width(), f.height()});
        }
        break;
    case Touch::Phase::Ended:
    case Touch::Phase::Cancelled: {
        if (!dragging_ || dragging_->cell.get() != &cell)
            break;
        IndexPath from = dragging_->from, to = from;
        dragging_.reset();
        if (phase == Touch::Phase::Ended) {
            int rows = numberOfRows(from.section);
            float centre = cell.frame().midY();
            for (int r = 0; r < rows; ++r)
                if (centre >= rectForRow({from.section, r}).y())
                    to.row = r;
        }
        auto source = dataSource.lock();
        if (to != from && source) {
            source->moveRow(*this, from, to);
            gfx::Point offset = contentOffset();
            reloadData();
            setContentOffset(offset);
        } else {
            layoutCell(cell, from);
        }
        break;
    }
    }
}

} // namespace ui
