#include "Module/CommonControls/TableView/TableBaseView.h"

#include "Common/StylePool.h"
#include "gfx/Font.h"
#include "ui/Gesture.h"
#include "ui/ImageView.h"

#include <algorithm>

namespace {

constexpr float kNoDataWidth = 100, kNoDataHeight = 26, kNoDataFontSize = 12;
constexpr float kDecelerationRate = 0.2f;

gfx::Align alignmentOf(int alignment) {
    switch (alignment) {
    case 1:
        return gfx::Align::Center;
    case 2:
        return gfx::Align::Right;
    default:
        return gfx::Align::Left;
    }
}

} // namespace

// The table's data source and delegate, pointing back at the view without keeping it.
struct TableBaseView::Relay : ui::TableDataSource, ui::TableDelegate {
    base::Weak<TableBaseView> view;

    int numberOfRows(ui::TableView &, int) override {
        auto v = view.lock();
        return v ? int(v->m_list.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto v = view.lock();
        if (!v || path.row < 0 || size_t(path.row) >= v->m_list.size())
            return base::make<ui::TableCell>();
        return v->cellForRow(table, size_t(path.row));
    }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto v = view.lock(); v && path.row >= 0 && size_t(path.row) < v->m_list.size())
            v->didSelectRow(size_t(path.row));
        return {};
    }
    base::Opt<void> didScroll(ui::ScrollView &scroll) override {
        if (auto v = view.lock())
            v->m_isTableViewEnd =
                scroll.contentOffset().y + scroll.frame().height() >= scroll.contentSize().h;
        return {};
    }
};

TableBaseView::TableBaseView(gfx::Rect frame, base::Weak<base::Object> controller)
    : ui::View(frame), m_relay(base::make<Relay>()), m_controller(std::move(controller)) {
    setBackgroundColor(gfx::Color::clear());
    m_tv = base::make<ui::TableView>(gfx::Rect{});
    m_tv->setBackgroundColor(gfx::Color::clear());
    m_tv->separatorColor = gfx::Color::clear();
    m_tv->separatorStyle = ui::TableView::Separator::None;
    m_tv->allowsSelection = false;
    m_tv->decelerationRate = kDecelerationRate;
    m_tv->dataSource = m_relay;
    m_tv->delegate = m_relay;
    addSubview(m_tv);

    m_noDataLabel = base::make<ui::Label>(gfx::Rect{0, 0, kNoDataWidth, kNoDataHeight});
    m_noDataLabel->setBackgroundColor(gfx::Color::clear());
    m_noDataLabel->setFont(gfx::Font::system(kNoDataFontSize));
    m_noDataLabel->setTextColor(gfx::Color::gray());
    m_noDataLabel->setTextAlignment(gfx::Align::Center);
    m_noDataLabel->setText(NoDataText);
    m_noDataLabel->setHidden(true);
    addSubview(m_noDataLabel);
}

TableBaseView::~TableBaseView() {
    m_tv->dataSource.reset();
    m_tv->delegate.reset();
}

void TableBaseView::setUp() {
    ui::View::setUp();
    m_relay->view = weakSelf<TableBaseView>();
    auto doubleTap =
        base::make<ui::TapRecognizer>(base::Action(weakSelf(), "zoom", [this](base::Object *) { zoom(); }));
    doubleTap->tapsRequired = 2;
    doubleTap->cancelsTouchesInView = false;
    addGestureRecognizer(doubleTap);
}

void TableBaseView::zoom() {
    if (auto d = tableViewBaseViewDelegate())
        d->ZoomInAction(*this);
}

void TableBaseView::addCol(const std::string &name, float width, int alignment,
                           base::Ref<gfx::Color> textColor) {
    m_cols.push_back({name, 0, width, width, alignment, std::move(textColor)});
}

void TableBaseView::calcColsSize() {
    if (m_cols.empty())
        return;
    gfx::Rect r = m_tv->frame().inset(1, 1);
    float fixed = 0;
    int flexible = 0;
    for (const TableViewCol &col : m_cols) {
        if (col.owidth > 0)
            fixed += col.owidth;
        else
            ++flexible;
    }
    float flexibleWidth = flexible ? (r.width() - fixed - 4 - float(m_cols.size() - 1)) / float(flexible) : 0;
    float x = r.x() + 2;
    for (size_t i = 0; i < m_cols.size(); ++i) {
        TableViewCol &col = m_cols[i];
        col.width = col.owidth > 0 ? col.owidth : flexibleWidth;
        if (i + 1 == m_cols.size())
            col.width -= 3;
        col.x = x;
        x += col.width + 1;
    }
}

void TableBaseView::updateList(const Rows *rows, int scrollToPos) {
    m_list.clear();
    if (!rows) {
        m_tv->reloadData();
        return;
    }
    m_list = *rows;
    // A table made moments ago has not been laid out yet: it needs its frame to scroll.
    layoutIfNeeded();
    m_tv->reloadData();
    if (scrollToPos >= 1 && scrollToPos <= 2 && m_isTableViewEnd && !m_list.empty()) {
        int row = scrollToPos == 2 ? 0 : int(m_list.size()) - 1;
        m_tv->scrollToRow({0, row}, ui::ScrollPosition::Bottom, true);
    }
    m_noDataLabel->setHidden(!m_list.empty());
}

base::Ref<ui::TableCell> TableBaseView::createOrResetCell(ui::TableView &table,
                                                          const std::string &identifier) {
    int width = int(table.bounds().width());
    base::Ref<ui::TableCell> cell = table.dequeueReusableCell(identifier);
    if (!cell) {
        cell = base::make<ui::TableCell>(ui::TableCell::Style::Default, identifier);
        cell->tag = width;
        for (size_t i = 0; i < m_cols.size(); ++i) {
            const TableViewCol &col = m_cols[i];
            auto label = base::make<ui::Label>(gfx::Rect{col.x, 0, col.width, table.rowHeight});
            setLabelProp(*label, int(i) + 1, col.alignment, col.textColor);
            cell->contentView().addSubview(label);
        }
        return cell;
    }
    if (cell->tag != width) {
        for (size_t i = 0; i < m_cols.size(); ++i)
            if (ui::Label *label = cellLabel(*cell, i))
                label->setFrame({m_cols[i].x, 0, m_cols[i].width, table.rowHeight});
        // Re-framed for this width: the next reuse at the same width leaves the labels alone.
        cell->tag = width;
    }
    return cell;
}

void TableBaseView::createOrResetTitleBar(float barHeight, base::Ref<gfx::Color> textColor) {
    if (!m_titleBarImage) {
        m_titleBarImage =
            base::make<ui::ImageView>(gfx::Rect{0, 0, m_tv->frame().width(), TitleBarImageHeight},
                                      StylePool::Instance().imgTableViewBG);
        addSubview(m_titleBarImage);
        if (m_cols.empty())
            return;
        m_bTitleBarCreated = true;
        for (size_t i = 0; i < m_cols.size(); ++i) {
            const TableViewCol &col = m_cols[i];
            auto label = base::make<ui::Label>(gfx::Rect{col.x, 2, col.width, barHeight - 2});
            setLabelProp(*label, int(i) + 1, 1, textColor);
            label->setText(col.name);
            addSubview(label);
            m_titleLabels.push_back(label);
        }
        return;
    }
    for (size_t i = 0; i < m_titleLabels.size() && i < m_cols.size(); ++i)
        m_titleLabels[i]->setFrame({m_cols[i].x, 2, m_cols[i].width, barHeight - 2});
}

void TableBaseView::setLabelProp(ui::Label &label, int tag, int alignment, base::Ref<gfx::Color> textColor) {
    label.tag = tag;
    label.setTextAlignment(alignmentOf(alignment));
    label.setTextColor(std::move(textColor));
    label.setBackgroundColor(gfx::Color::clear());
    setLabelFont(label);
    label.setAdjustsFontSizeToFitWidth(false);
}

ui::Label *TableBaseView::cellLabel(ui::TableCell &cell, size_t col) {
    return dynamic_cast<ui::Label *>(cell.contentView().viewWithTag(int(col) + 1));
}

void TableBaseView::setCellText(ui::TableCell &cell, size_t col, const std::string &text,
                                base::Ref<gfx::Color> color) {
    ui::Label *label = cellLabel(cell, col);
    if (!label)
        return;
    label->setText(text);
    if (color)
        label->setTextColor(std::move(color));
}
