#include "Scenes.h"

#include "gfx/BitmapContext.h"
#include "ui/Label.h"
#include "ui/SegmentedControl.h"
#include "ui/TableView.h"

namespace ui::testing {

namespace {

base::Ref<gfx::Image> icon(const gfx::Color &color) {
    gfx::BitmapContext c{30, 30};
    c.setFill(color);
    c.fillEllipse({3, 3, 24, 24});
    return c.makeImage();
}

base::Ref<Label> label(const std::string &text, gfx::Rect frame, float size,
                       base::Ref<gfx::Color> color = gfx::Color::white()) {
    auto l = base::make<Label>(frame);
    l->setText(text);
    l->setFont(gfx::Font::system(size));
    l->setTextColor(std::move(color));
    return l;
}

// A screen of a few quote rows on a dark background.
struct ListScreen : ViewController {
    std::vector<std::string> rows;
    base::Ref<gfx::Color> background = gfx::Color::rgba(0.08f, 0.1f, 0.16f, 1);
    ListScreen(std::string title, std::vector<std::string> rows) : rows(std::move(rows)) {
        setTitle(std::move(title));
    }
    void viewDidLoad() override {
        view().setBackgroundColor(background);
        float y = 12;
        for (auto &r : rows) {
            view().addSubview(label(r, {16, y, 600, 28}, 18));
            y += 36;
        }
    }
};

// The login sheet: a bar with Cancel and a done-style button over a grouped table of two rows.
struct LoginRows : TableDataSource {
    int numberOfRows(TableView &, int) override { return 2; }
    base::Ref<TableCell> cellForRow(TableView &, IndexPath path) override {
        auto cell = base::make<TableCell>(TableCell::Style::Default, "login");
        cell->selectionStyle = TableCell::Selection::None;
        cell->textLabel()->setText(path.row == 0 ? "User" : "Password");
        cell->textLabel()->setTextColor(gfx::Color::gray());
        return cell;
    }
    base::Opt<std::string> titleForHeader(TableView &, int) override { return std::string("行情服务器"); }
    base::Opt<std::string> titleForFooter(TableView &, int) override {
        return std::string("Password will be sent in the clear.");
    }
};

struct LoginLayout : TableDelegate {
    base::Opt<float> heightForHeader(TableView &, int) override { return 54.f; }
    base::Opt<float> heightForFooter(TableView &, int) override { return 30.f; }
};

struct SheetScreen : ViewController {
    base::Ref<LoginRows> rows = base::make<LoginRows>();
    base::Ref<LoginLayout> layout = base::make<LoginLayout>();
    void viewDidLoad() override {
        gfx::Rect b = view().bounds();
        auto bar = base::make<NavigationBar>(gfx::Rect{0, 0, b.width(), NavigationBar::Height});
        auto item = base::make<NavigationItem>("127.0.0.1");
        item->setLeftItem(BarButtonItem::system(BarButtonItem::SystemItem::Cancel, {}));
        item->setRightItem(BarButtonItem::titled("Login", BarButtonItem::Style::Done, {}));
        bar->pushItem(item);
        bar->sizeToFit();
        auto table = base::make<TableView>(
            gfx::Rect{0, bar->frame().height(), b.width(), b.height() - bar->frame().height()},
            TableView::Style::Grouped);
        table->autoresizingMask = FlexibleWidth | FlexibleHeight;
        table->dataSource = rows;
        table->delegate = layout;
        view().addSubview(bar);
        view().addSubview(table);
        table->reloadData();
    }
};

} // namespace

Scenes::Scenes(Window &window, base::VirtualClock &clock) : window_(window), clock_(clock) {}

Scenes::~Scenes() {
    for (auto &p : popovers_)
        p->dismiss(false);
    for (auto &c : presented_)
        c->dismissModal(false);
    window_.setRootViewController(nullptr);
}

std::vector<std::string> Scenes::names() {
    return {"tab-navigation", "popover-navigation", "cross-dissolve-half", "form-sheet"};
}

void Scenes::tabScreen() {
    window_.setBackgroundColor(gfx::Color::black());
    auto home = base::make<ListScreen>("首页", std::vector<std::string>{"上证指数  3021.50  +0.85%"});
    auto market = base::make<ListScreen>("行情", std::vector<std::string>{"浦发银行  600000  10.25  +1.48%",
                                                                          "深发展A  000001  16.02  -0.37%",
                                                                          "万科A  000002  8.71  +2.35%"});
    nav_ = base::make<NavigationController>(market);
    nav_->navigationBar().setTint(gfx::Color::rgba(0.1f, 0.2f, 0.42f, 1));
    auto logo = label("岚峰星", {0, 0, 110, 30}, 22, gfx::Color::rgba(1, 0.8f, 0.2f, 1));
    logo->setFont(gfx::Font::boldSystem(22));
    logo->setTextAlignment(gfx::Align::Center);
    market->navigationItem().setTitleView(logo);
    auto segment = base::make<SegmentedControl>(gfx::Rect{0, 0, 40, 30});
    segment->style = SegmentedControl::Style::Bar;
    segment->momentary = true;
    segment->insertSegment(icon(*gfx::Color::white()), 0);
    segment->setWidth(40, 0);
    market->navigationItem().setRightItem(BarButtonItem::custom(segment));
    auto watch = base::make<ListScreen>("自选", std::vector<std::string>{});
    auto news = base::make<ListScreen>("资讯", std::vector<std::string>{});
    struct Tab {
        ViewController *controller;
        const char *title;
        base::Ref<gfx::Color> color;
    };
    for (const Tab &t :
         {Tab{home.get(), "首页", gfx::Color::orange()}, Tab{nav_.get(), "行情", gfx::Color::cyan()},
          Tab{watch.get(), "自选", gfx::Color::yellow()}, Tab{news.get(), "资讯", gfx::Color::green()}}) {
        t.controller->tabBarItem().title = t.title;
        t.controller->tabBarItem().image = icon(*t.color);
    }
    tabs_ = base::make<TabBarController>();
    tabs_->setViewControllers({home, nav_, watch, news}, false);
    tabs_->setSelectedIndex(1);
    window_.setRootViewController(tabs_);
}

bool Scenes::build(const std::string &name) {
    if (name == "tab-navigation") {
        tabScreen();
    } else if (name == "popover-navigation") {
        tabScreen();
        auto menu =
            base::make<ListScreen>("板块", std::vector<std::string>{"沪深A股", "中小板", "创业板", "基金"});
        menu->setContentSizeInPopover({240, 180});
        auto p = base::make<Popover>(base::make<NavigationController>(menu));
        View *anchor = nav_->top()->navigationItem().rightItem()->view().get();
        p->presentFromRect(anchor->bounds(), *anchor, ArrowUp, false);
        popovers_.push_back(p);
    } else if (name == "cross-dissolve-half") {
        tabScreen();
        auto full = base::make<ListScreen>("", std::vector<std::string>{"全屏走势"});
        full->background = gfx::Color::rgba(0.55f, 0.1f, 0.1f, 1);
        full->transition = ViewController::Transition::CrossDissolve;
        full->modalInPopover = true;
        nav_->top()->presentModal(full, true);
        clock_.advance(ViewController::CrossDissolveDuration / 2);
        presented_.push_back(full);
    } else if (name == "form-sheet") {
        tabScreen();
        auto sheet = base::make<SheetScreen>();
        sheet->presentation = ViewController::Presentation::FormSheet;
        tabs_->presentModal(sheet, true);
        clock_.advance(ViewController::CoverVerticalDuration);
        presented_.push_back(sheet);
    } else {
        return false;
    }
    return true;
}

} // namespace ui::testing
