#pragma once

#include "base/Data.h"
#include "base/Object.h"
#include "base/Value.h"
#include "gfx/Geometry.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ui {

class Application;
class Window;

enum class Orientation { Portrait = 1, PortraitUpsideDown = 2, LandscapeRight = 3, LandscapeLeft = 4 };

struct ApplicationDelegate : base::Object {
    virtual bool didFinishLaunching(Application &, const base::Dict &options) = 0;
    virtual base::Opt<void> willResignActive(Application &) { return base::notImplemented; }
    virtual base::Opt<void> didBecomeActive(Application &) { return base::notImplemented; }
    virtual base::Opt<void> didEnterBackground(Application &) { return base::notImplemented; }
    virtual base::Opt<void> willEnterForeground(Application &) { return base::notImplemented; }
    virtual base::Opt<void> willTerminate(Application &) { return base::notImplemented; }
    virtual base::Opt<void> didRegisterForRemoteNotifications(Application &, const base::Data &) {
        return base::notImplemented;
    }
    virtual base::Opt<void> didReceiveRemoteNotification(Application &, const base::Dict &) {
        return base::notImplemented;
    }
    virtual base::Opt<void> didReceiveMemoryWarning(Application &) { return base::notImplemented; }
};

// The running application: its delegate, its windows and what it asks of the system.
class Application {
public:
    // Posted on the notification centre when memory runs short (only ever by the hook).
    static constexpr const char *MemoryWarningNotification = "ApplicationDidReceiveMemoryWarning";

    static Application &shared();

    // Stands in for loading the main interface: builds the window and first screens, then tells
    // the delegate that launching finished and that the application became active. Returns the
    // delegate's answer.
    bool launch(base::Ref<ApplicationDelegate> delegate, const std::function<void()> &buildMainInterface = {},
                const base::Dict &options = {});
    // launch, then the main run loop until terminate() ends the process or the loop is stopped
    // (answering 0).
    int run(base::Ref<ApplicationDelegate> delegate, const std::function<void()> &buildMainInterface = {});
    const base::Ref<ApplicationDelegate> &delegate() const { return delegate_; }

    Window *keyWindow() const;
    const std::vector<base::Ref<Window>> &windows() const { return windows_; }
    // Called by Window::makeKeyAndVisible.
    void makeKey(base::Ref<Window> window);
    // Forgets a window (when a host or a test lets go of it).
    void removeWindow(const Window *window);

    // Hands the address to the host's browser; false without a host that can.
    bool openUrl(const std::string &url);

    // Ends the process at once with the status, after the host gave the display back. Static
    // destructors do not run. With a handler installed (tests), calls it instead and returns.
    void terminate(int status);
    static void setTerminateHandler(std::function<void(int status)> handler);

    Orientation statusBarOrientation() const { return orientation_; }
    void setStatusBarOrientation(Orientation orientation) { orientation_ = orientation; }
    bool networkActivityIndicatorVisible() const { return networkActivity_; }
    // On the main thread; a change is posted as NetworkActivityChangedNotification for the status
    // bar that shows it.
    void setNetworkActivityIndicatorVisible(bool visible);
    static constexpr const char *NetworkActivityChangedNotification = "ApplicationNetworkActivityChanged";
    static constexpr uint64_t InvalidBackgroundTask = 0;
    // Background time is not limited here: tasks get a number and nothing else happens.
    uint64_t beginBackgroundTask(std::function<void()> expiry);
    void endBackgroundTask(uint64_t) {}

    // Host and test hooks for what the system would do.
    void simulateResignActive();
    void simulateBecomeActive();
    void simulateEnterBackground();
    void simulateEnterForeground();
    void simulateMemoryWarning();
    // Quitting from the host: resign active, enter background, will terminate, then terminate(0).
    void quit();
    void deliverDeviceToken(const base::Data &token);
    void deliverRemoteNotification(const base::Dict &payload);

private:
    Application() = default;
    base::Ref<ApplicationDelegate> delegate_;
    std::vector<base::Ref<Window>> windows_;
    Window *key_ = nullptr;
    Orientation orientation_ = Orientation::LandscapeLeft;
    // Read by the network thread, which asks for the indicator only when it is not showing.
    std::atomic<bool> networkActivity_{false};
    uint64_t nextTask_ = 1;
};

// The one screen: a 1024 × 768 landscape display whose bounds are reported the portrait way.
class Screen {
public:
    static Screen &main();
    gfx::Rect bounds() const { return {0, 0, 768, 1024}; }
    // The landscape area below the 20-point status bar.
    gfx::Rect applicationFrame() const { return {0, 20, 1024, 748}; }
    float scale() const { return 1; }
    // The size windows are made with.
    gfx::Size windowSize() const { return {1024, 768}; }
};

// The device the application believes it runs on: a tablet.
class Device {
public:
    enum class Idiom { Phone, Pad };
    static Device &current();
    // 40 lower-case hexadecimal digits, made once and kept in the application home.
    std::string uniqueIdentifier() const;
    std::string model() const { return "iPad"; }
    std::string systemName() const { return "iPhone OS"; }
    std::string systemVersion() const { return "5.1"; }
    Idiom idiom() const { return Idiom::Pad; }
    bool multitaskingSupported() const { return true; }
};

} // namespace ui
