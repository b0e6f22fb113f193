#include "NavToolBarFixture.h"

#include "DataBase/ComAPI.h"
#include "ui/Popover.h"

namespace navtoolbar {

namespace {

constexpr int kCodeListClass = 106;

} // namespace

NavToolBarTest::NavToolBarTest() {
    for (const char *file : {"LatestRecentViewed.plist", "MyStockList.plist", "MyFocusList.plist"})
        base::FileManager::remove(documentsFile(file));
    DataManager::resetSharedDataManager();
    DataManager::sharedDataManager().initialize();
    DataManager::sharedDataManager().msgboxParentHandle = app.window().self<ui::View>();
    DataBase::setSharedDataBase(db);
    nav = base::make<ui::NavigationController>(screen);
    app.window().setRootViewController(nav);
    app.runPending();
}

void NavToolBarTest::SetUp() {
    if (withAccount())
        readyWithAccount();
    else
        readyWithoutAccount();
    quotedCodes();
}

NavToolBarTest::~NavToolBarTest() {
    for (auto &popover : ui::Popover::visiblePopovers())
        popover->dismiss(false);
    app.window().setRootViewController(nullptr);
    DataBase::setSharedDataBase(nullptr);
    DataManager::resetSharedDataManager();
}

void NavToolBarTest::typeInSearch(const std::string &text) {
    app.tap(centre(*screen->searchBarTextField()));
    app.typeText(text);
}

SearchMyStockContentController &NavToolBarTest::search() {
    auto &content = dynamic_cast<ui::NavigationController &>(screen->searchPopoverController()->content());
    return dynamic_cast<SearchMyStockContentController &>(*content.viewControllers().front());
}

std::vector<std::vector<std::string>> NavToolBarTest::quotedCodes() {
    std::vector<peers::ReceivedFrame> frames = quotes.received(peers::QuoteServer::QuoteListType);
    std::vector<std::vector<std::string>> lists;
    for (size_t i = quoteRequestsSeen_; i < frames.size(); ++i) {
        ByteView body = frames[i].bytes();
        uint32_t pos = 0;
        if (ComAPI::ReadShort(body, pos) != kCodeListClass)
            continue;
        ComAPI::ReadShort(body, pos);
        int count = ComAPI::ReadShort(body, pos);
        std::vector<std::string> codes;
        for (int k = 0; k < count; ++k)
            codes.push_back(ComAPI::ReadString(body, pos));
        lists.push_back(codes);
    }
    quoteRequestsSeen_ = frames.size();
    return lists;
}

gfx::Point NavToolBarTest::centre(ui::View &view) {
    gfx::Rect r = view.convert(view.bounds(), nullptr);
    return {r.x() + r.width() / 2, r.y() + r.height() / 2};
}

std::vector<std::string> NavToolBarTest::codesOf(const base::Array &entries) {
    std::vector<std::string> codes;
    for (const base::Value &entry : entries)
        codes.push_back(entry["code"].stringValue());
    return codes;
}

} // namespace navtoolbar
