#include "ui/Application.h"

#include "base/FileManager.h"
#include "base/NotificationCenter.h"
#include "base/Paths.h"
#include "base/RunLoop.h"
#include "ui/Host.h"
#include "ui/Window.h"

#include <algorithm>
#include <cstdlib>
#include <random>

namespace ui {

namespace {

std::function<void(int)> &terminateHandler() {
    static std::function<void(int)> handler;
    return handler;
}

} // namespace

Application &Application::shared() {
    static Application application;
    return application;
}

bool Application::launch(base::Ref<ApplicationDelegate> delegate,
                         const std::function<void()> &buildMainInterface, const base::Dict &options) {
    delegate_ = std::move(delegate);
    if (buildMainInterface)
        buildMainInterface();
    if (!delegate_)
        return false;
    bool answer = delegate_->didFinishLaunching(*this, options);
    delegate_->didBecomeActive(*this);
    return answer;
}

int Application::run(base::Ref<ApplicationDelegate> delegate,
                     const std::function<void()> &buildMainInterface) {
    launch(std::move(delegate), buildMainInterface);
    base::RunLoop &loop = base::RunLoop::main();
    loop.addKeepAliveSource();
    loop.run();
    return 0;
}

Window *Application::keyWindow() const {
    return key_;
}

void Application::makeKey(base::Ref<Window> window) {
    if (!window)
        return;
    if (std::find(windows_.begin(), windows_.end(), window) == windows_.end())
        windows_.push_back(window);
    key_ = window.get();
}

void Application::removeWindow(const Window *window) {
    if (key_ == window)
        key_ = nullptr;
    std::erase_if(windows_, [&](auto &w) { return w.get() == window; });
    if (!key_ && !windows_.empty())
        key_ = windows_.back().get();
}

bool Application::openUrl(const std::string &url) {
    Host *host = Host::current();
    return host && !url.empty() && host->openUrl(url);
}

void Application::setTerminateHandler(std::function<void(int)> handler) {
    terminateHandler() = std::move(handler);
}

void Application::terminate(int status) {
    if (terminateHandler()) {
        terminateHandler()(status);
        return;
    }
    if (Host *host = Host::current())
        host->shutdown();
    std::quick_exit(status);
}

uint64_t Application::beginBackgroundTask(std::function<void()>) {
    return nextTask_++;
}

void Application::simulateResignActive() {
    if (delegate_)
        delegate_->willResignActive(*this);
}

void Application::simulateBecomeActive() {
    if (delegate_)
        delegate_->didBecomeActive(*this);
}

void Application::simulateEnterBackground() {
    if (delegate_)
        delegate_->didEnterBackground(*this);
}

void Application::simulateEnterForeground() {
    if (delegate_)
        delegate_->willEnterForeground(*this);
}

void Application::setNetworkActivityIndicatorVisible(bool visible) {
    if (networkActivity_.exchange(visible) != visible)
        base::NotificationCenter::shared().post(NetworkActivityChangedNotification);
}

void Application::simulateMemoryWarning() {
    if (delegate_)
        delegate_->didReceiveMemoryWarning(*this);
    base::NotificationCenter::shared().post(MemoryWarningNotification);
}

void Application::quit() {
    simulateResignActive();
    simulateEnterBackground();
    if (delegate_)
        delegate_->willTerminate(*this);
    terminate(0);
}

void Application::deliverDeviceToken(const base::Data &token) {
    if (delegate_)
        delegate_->didRegisterForRemoteNotifications(*this, token);
}

void Application::deliverRemoteNotification(const base::Dict &payload) {
    if (delegate_)
        delegate_->didReceiveRemoteNotification(*this, payload);
}

Screen &Screen::main() {
    static Screen screen;
    return screen;
}

Device &Device::current() {
    static Device device;
    return device;
}

std::string Device::uniqueIdentifier() const {
    static std::string cached;
    if (!cached.empty())
        return cached;
    const std::string dir = base::Paths::join(base::Paths::home(), "Library");
    const std::string path = base::Paths::join(dir, "device-identifier");
    if (auto data = base::FileManager::read(path)) {
        std::string text(data->view());
        if (text.size() == 40 && text.find_first_not_of("0123456789abcdef") == std::string::npos)
            return cached = text;
    }
    std::random_device random;
    static const char digits[] = "0123456789abcdef";
    std::string id;
    for (int i = 0; i < 40; ++i)
        id += digits[random() % 16];
    base::FileManager::createDirectory(dir, true);
    base::FileManager::writeAtomically(path, base::Data::fromString(id));
    return cached = id;
}

} // namespace ui
