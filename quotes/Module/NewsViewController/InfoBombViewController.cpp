#include "Module/NewsViewController/InfoBombViewController.h"

#include "Module/NewsViewController/InfoBombDetailViewController.h"

#include "DataBase/DataBase.h"

#include "base/Str.h"
#include "gfx/Color.h"
#include "gfx/Font.h"
#include "gfx/Image.h"
#include "ui/NavigationController.h"

namespace {

// The rows alternate between two dark blues, the first row (index 0) the darker.
base::Ref<gfx::Color> rowColour(int row) {
    return row % 2 ? gfx::Color::rgba(5 / 255.f, 47 / 255.f, 71 / 255.f)
                   : gfx::Color::rgba(2 / 255.f, 38 / 255.f, 57 / 255.f);
}

// The quote server's trading day; 0 while it has not told its time.
int32_t serverDate() {
    base::Ref<DataBase> db = DataBase::sharedDataBase();
    const base::Ref<NetDataCenter> *center = db ? &db->IO_NetDataCenter() : nullptr;
    return center && *center ? (*center)->IO_ServerDate : 0;
}

} // namespace

// One row per mine of the list shown.
struct InfoBombViewController::Rows : ui::TableDataSource {
    base::Weak<InfoBombViewController> owner;

    int numberOfRows(ui::TableView &, int) override {
        auto screen = owner.lock();
        return screen ? int(screen->dataArray_.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        base::Ref<ui::TableCell> cell = table.dequeueReusableCell(kCellIdentifier);
        if (!cell) {
            cell = base::make<ui::TableCell>(ui::TableCell::Style::Default, kCellIdentifier);
            ui::Label &label = *cell->textLabel();
            label.setTextColor(gfx::Color::white());
            label.setFont(gfx::Font::boldSystem(kFontSize));
            label.setNumberOfLines(0);
            label.setLineBreakMode(gfx::LineBreak::WordWrap);
            label.setBackgroundColor(gfx::Color::clear());
            label.opaque = false;
        }
        cell->contentView().setBackgroundColor(rowColour(path.row));
        auto screen = owner.lock();
        if (screen && size_t(path.row) < screen->dataArray_.size())
            cell->textLabel()->setText(base::str::format(
                "%d. %@", path.row + 1, screen->dataArray_[size_t(path.row)]->title.value_or("")));
        return cell;
    }
};

struct InfoBombViewController::Taps : ui::TableDelegate {
    base::Weak<InfoBombViewController> owner;

    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto screen = owner.lock())
            screen->showDetailVC(path);
        return {};
    }
};

void InfoBombViewController::setUp() {
    ui::ViewController::setUp();
    newsData_ = NewsData::create();
    newsData_->setDelegate(weakSelf<InfoBombViewController>());
    setContentSizeInPopover(kContentSize);
    setTitle(kTitle);
}

void InfoBombViewController::viewDidLoad() {
    ui::ViewController::viewDidLoad();
    view().setBackgroundColor(gfx::Color::pattern(gfx::Image::named("background.png")));
    rows_ = base::make<Rows>();
    rows_->owner = weakSelf<InfoBombViewController>();
    taps_ = base::make<Taps>();
    taps_->owner = weakSelf<InfoBombViewController>();
    tv_ = base::make<ui::TableView>(gfx::Rect{{0, 0}, kContentSize});
    tv_->setBackgroundColor(gfx::Color::clear());
    tv_->opaque = false;
    tv_->rowHeight = kRowHeight;
    tv_->separatorStyle = ui::TableView::Separator::None;
    tv_->dataSource = rows_;
    tv_->delegate = taps_;
    view().addSubview(tv_);
    indView_ = base::make<ui::ActivityIndicator>(ui::ActivityIndicator::Style::White);
    gfx::Size size = indView_->frame().s;
    indView_->setFrame({(kContentSize.w - size.w) / 2, (kContentSize.h - size.h) / 2, size.w, size.h});
    view().addSubview(indView_);
}

void InfoBombViewController::setStockCode(const std::string &code, const std::string &name) {
    stockCode_ = code;
    view();
    indView_->start();
    newsData_->reqTodayInfoBomb(code, serverDate());
    setTitle(base::str::format("信息地雷 - %@", name));
}

base::Opt<void> InfoBombViewController::updateTodayInfoBombArray(const Headlines &items) {
    indView_->stop();
    dataArray_ = items;
    tv_->reloadData();
    if (dataArray_.size() == 1) {
        tv_->selectRow(ui::IndexPath{0, 0}, false, ui::ScrollPosition::None);
        showDetailVC({0, 0});
    }
    return {};
}

base::Opt<void> InfoBombViewController::updateTodayInfoBombArrayError(const std::string &) {
    indView_->stop();
    return {};
}

void InfoBombViewController::showDetailVC(ui::IndexPath path) {
    if (size_t(path.row) >= dataArray_.size())
        return;
    auto detail = base::make<InfoBombDetailViewController>();
    detail->setTitle(kDetailTitle);
    if (ui::NavigationController *nav = navigationController())
        nav->push(detail, true);
    detail->setContentUrl(dataArray_[size_t(path.row)]->url.value_or(""));
}
