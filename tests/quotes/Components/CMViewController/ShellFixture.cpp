#include "ShellFixture.h"

#include "ui/Popover.h"

namespace shell {

ShellTest::ShellTest() {
    DataManager::resetSharedDataManager();
    DataBase::setSharedDataBase(nullptr);
    DataBase::sharedDataBase()->initialize({});
}

ShellTest::~ShellTest() {
    for (auto &popover : ui::Popover::visiblePopovers())
        popover->dismiss(false);
    app.window().setRootViewController(nullptr);
    DataManager::resetSharedDataManager();
    DataBase::setSharedDataBase(nullptr);
}

base::Ref<ShellScreen> ShellTest::makeScreen(ShellScreen::Bar bar) {
    auto screen = base::make<ShellScreen>();
    screen->bar = bar;
    return screen;
}

base::Ref<ui::NavigationController> ShellTest::show(base::Ref<CMViewController> screen) {
    auto nav = base::make<ui::NavigationController>(std::move(screen));
    app.window().setRootViewController(nav);
    app.runPending();
    return nav;
}

gfx::Point ShellTest::centre(ui::View &view) {
    gfx::Rect r = view.convert(view.bounds(), nullptr);
    return {r.x() + r.width() / 2, r.y() + r.height() / 2};
}

ui::NavigationController &ShellTest::navOf(ui::Popover &popover) {
    return dynamic_cast<ui::NavigationController &>(popover.content());
}

SearchMyStockContentController &ShellTest::searchOf(CMViewController &screen) {
    return dynamic_cast<SearchMyStockContentController &>(
        *navOf(*screen.searchPopoverController()).viewControllers().front());
}

ui::View &ShellTest::settingsControl(CMViewController &screen) {
    return *screen.navigationItem().leftItem()->customView();
}

RealNews &ShellTest::breakingNews() {
    return *DataBase::sharedDataBase()->IO_NetDataCenter()->IO_RealNewsJP;
}

} // namespace shell
