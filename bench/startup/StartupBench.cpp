// What a user waits for between launching the application and its tab bar, besides the splash's
// own animations: the first frame (the disclaimer on a first run, the splash otherwise) and the
// market login (navigation server, quote server, code tables) against the loopback quote server.
// Each launches the application once (fresh home, fresh font cache home, a bundle naming the
// loopback server, the process-wide services made anew), in the SDL host on its display-less driver, on the
// real clock. The counters give the times in seconds from the launch:
//   launched      didFinishLaunching has returned (the services are up, the splash is built)
//   first_frame   the first frame is presented
//   nav, quote    the navigation and the quote server answered the connect
//   logged_in     the login has finished (code tables in)
#include "QVNSolvaneMobileAppDelegate.h"
#include "TabScreens.h"
#include "peers/QuoteServer.h"

#include "DataBase/DataBase.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "base/Clock.h"
#include "base/NotificationCenter.h"
#include "base/PropertyList.h"
#include "base/RunLoop.h"
#include "host/Sdl.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>

namespace {

namespace fs = std::filesystem;

double now() {
    return base::Clock::current().monotonic();
}

// One folder for the process: the bundle beside the real one (links to every resource but the
// server list), and a fresh home and font cache home for each launch. Removed when the process ends.
struct Scratch {
    fs::path root, bundle;
    int launches = 0;
    Scratch() {
        std::string pattern = (fs::temp_directory_path() / "qv-startup-bench-XXXXXX").string();
        root = mkdtemp(pattern.data());
        bundle = root / "bundle";
        fs::create_directories(bundle);
        const char *real = std::getenv("QV_BUNDLE");
        fs::path source = real ? fs::path(real) : fs::path(QV_RESOURCES_DIR);
        for (const fs::directory_entry &entry : fs::directory_iterator(source))
            if (entry.path().filename() != "ServerConfig.plist")
                fs::create_symlink(fs::absolute(entry.path()), bundle / entry.path().filename());
        setenv("QV_BUNDLE", bundle.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
    }
    ~Scratch() { fs::remove_all(root); }
};

// Names the loopback server in the bundle and starts from an empty home and font cache; a later
// start has the disclaimer behind it.
void prepare(uint16_t quotePort, bool firstRun) {
    static Scratch scratch;
    int launch = ++scratch.launches;
    base::Array navServers;
    navServers.add(base::Dict{{"host", "127.0.0.1"}, {"port", int(quotePort)}});
    base::PropertyList::write(base::Dict{{"NavServers", navServers}, {"NewsServer", "http://127.0.0.1:9"}},
                              (scratch.bundle / "ServerConfig.plist").string());
    fs::path home = scratch.root / ("home" + std::to_string(launch));
    fs::create_directories(home / "Documents");
    if (!firstRun)
        base::PropertyList::write(base::Dict{{"IsShowNoticeAnnounce", false}},
                                  (home / "Documents" / "UserConfig.plist").string());
    setenv("QV_HOME", home.c_str(), 1);
    setenv("XDG_CACHE_HOME", (scratch.root / ("cache" + std::to_string(launch))).c_str(), 1);
}

void launch(benchmark::State &state, bool firstRun) {
    peers::QuoteServer quotes;
    prepare(quotes.port(), firstRun);
    registerTabScreens();
    host::Sdl sdl;
    if (!sdl.open("startup")) {
        state.SkipWithError("SDL cannot open a window");
        return;
    }
    std::map<int, double> statuses;
    auto observer = base::make<base::Object>();
    double start = now();
    base::NotificationCenter::shared().addObserver(
        observer, DataBase::LoginLevel2AccountNotify, [&](const base::Notification &n) {
            int status = int(n.userInfo.get(DataBase::LoginLevel2AccountStatus).intValue());
            statuses.emplace(status, now() - start);
        });
    auto delegate = base::make<QVNSolvaneMobileAppDelegate>();
    double launched = 0, firstFrame = 0;
    for (auto _ : state) {
        ui::Application::shared().launch(delegate, [&] {
            delegate->window = base::make<ui::Window>(gfx::Rect{{0, 0}, ui::Screen::main().windowSize()});
            delegate->window->setBackgroundColor(gfx::Color::black());
            delegate->mtabBarController = base::make<CMTabBarController>();
        });
        launched = now() - start;
        // A first run waits on the disclaimer: the first frame is all there is to time.
        double end = start + 20;
        while (now() < end && (firstFrame == 0 || (!firstRun && !statuses.count(DataBase::LoginFinished)))) {
            base::RunLoop::main().runOnce(base::RunLoop::Default, 0.005);
            sdl.pump();
            if (firstFrame == 0 && sdl.framesPresented() > 0)
                firstFrame = now() - start;
        }
    }
    state.counters["launched"] = launched;
    state.counters["first_frame"] = firstFrame;
    if (!firstRun) {
        auto at = [&](int status) { return statuses.count(status) ? statuses[status] : -1; };
        state.counters["nav"] = at(DataBase::NavServerConnected);
        state.counters["quote"] = at(DataBase::HQServerConnected);
        state.counters["logged_in"] = at(DataBase::LoginFinished);
    }
    base::NotificationCenter::shared().removeObserver(observer.get());
    DataBase::sharedDataBase()->Disconnect();
    sdl.close();
    ui::Application::shared().removeWindow(delegate->window.get());
    DataBase::setSharedDataBase(nullptr);
    DataManager::resetSharedDataManager();
}

// A first run: empty home and font cache, the disclaimer is the first frame.
void StartupFirstRun(benchmark::State &state) {
    launch(state, true);
}

// A later start: the splash, then the free login by itself.
void StartupLogin(benchmark::State &state) {
    launch(state, false);
}

} // namespace

// The first run goes first: fonts are set up once per process.
BENCHMARK(StartupFirstRun)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(StartupLogin)->Iterations(1)->Unit(benchmark::kMillisecond);
