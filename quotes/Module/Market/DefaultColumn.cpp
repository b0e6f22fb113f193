#include "Module/Market/DefaultColumn.h"

#include "gfx/Font.h"

DefaultColumn::DefaultColumn(gfx::Rect frame) : ui::View(frame) {
    float w = frame.width(), h = frame.height();
    m_backgroundView = base::make<ui::ImageView>(gfx::Rect{0, 0, w, h}, gfx::Image::named("column_bg.png"));
    addSubview(m_backgroundView);
    m_stockNameLabel = base::make<ui::Label>(gfx::Rect{10, 0, 70, h});
    m_stockNameLabel->setText("名称");
    m_stockNameLabel->setTextColor(gfx::Color::white());
    m_stockNameLabel->setBackgroundColor(gfx::Color::clear());
    m_stockNameLabel->setFont(gfx::Font::system(14));
    addSubview(m_stockNameLabel);
}

void DefaultColumn::setUp() {
    ui::View::setUp();
    float h = bounds().height();
    for (int id = 0; id < HeaderCount; ++id) {
        auto cell = base::make<DefaultHeaderView>(gfx::Rect{CellX[id], 0, CellWidth, h});
        cell->headerID = id;
        cell->tag = BeginTag + id;
        cell->delegate = weakSelf<DefaultColumn>();
        cell->updownTagImage().setHidden(id != 1);
        cell->pushTagImage().setHidden(id < 2);
        addSubview(cell);
    }
}

DefaultHeaderView *DefaultColumn::headerAt(int headerID) {
    return dynamic_cast<DefaultHeaderView *>(viewWithTag(BeginTag + headerID));
}

void DefaultColumn::SetPullList(const base::Array &rows, int classID, int headerID) {
    std::string caption;
    for (const base::Value &row : rows)
        if (row["CLASS_ID"].intValue() == classID)
            caption = row["MENU_NAME"].stringValue();
    if (headerID < 0 || headerID >= HeaderCount)
        return;
    DefaultHeaderView *cell = headerAt(headerID);
    cell->fieldNameLabel().setText(caption);
    cell->SetFieldArray(rows, classID);
}

void DefaultColumn::SetEnableRank(bool showArrow, bool showMarker, int headerID) {
    if (DefaultHeaderView *cell = headerAt(headerID)) {
        cell->updownTagImage().setHidden(!showArrow);
        cell->pushTagImage().setHidden(!showMarker);
    }
}

void DefaultColumn::SetDefaultSelectedHeader(int headerID) {
    if (headerID == -1) {
        if (DefaultHeaderView *cell = headerAt(currentSelHeader))
            cell->updownTagImage().setHidden(true);
        currentSelHeader = -1;
        return;
    }
    if (headerID < 0 || headerID >= HeaderCount)
        return;
    currentSelHeader = headerID;
    m_isRank = 0;
    for (int id = 0; id < HeaderCount; ++id) {
        headerAt(id)->updownTagImage().setHidden(id != headerID);
        if (id == headerID)
            headerAt(id)->SetImageUpdown(0);
    }
}

base::Opt<void> DefaultColumn::ReturnUpdownClassID(int classID, int headerID) {
    if (currentSelHeader == -1)
        return {};
    for (int id = 0; id < HeaderCount; ++id) {
        DefaultHeaderView *cell = headerAt(id);
        if (id != headerID) {
            cell->updownTagImage().setHidden(true);
            continue;
        }
        if (headerID == currentSelHeader) {
            m_isRank = m_isRank ? 0 : 1;
        } else {
            m_isRank = 0;
            currentSelHeader = headerID;
            cell->updownTagImage().setHidden(false);
        }
        cell->SetImageUpdown(m_isRank);
    }
    if (auto d = delegate.lock())
        d->ReturnUpdownTag(m_isRank, classID, headerID);
    return {};
}

base::Opt<void> DefaultColumn::ReturnCurrentSelectedFieldName(const std::string &name, int classID,
                                                              int headerID) {
    m_isRank = 0;
    currentSelHeader = headerID;
    for (int id = 0; id < HeaderCount; ++id) {
        DefaultHeaderView *cell = headerAt(id);
        cell->updownTagImage().setHidden(id != headerID);
        if (id == headerID)
            cell->SetImageUpdown(0);
    }
    if (headerID >= 2 && headerID < HeaderCount)
        headerAt(headerID)->fieldNameLabel().setText(name);
    if (auto d = delegate.lock())
        d->ReturnSelectedFieldName(name, classID, headerID);
    return {};
}
