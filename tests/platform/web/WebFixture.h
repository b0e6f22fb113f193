#pragma once

#include "web/WebView.h"

#include "base/RunLoop.h"
#include "gfx/Color.h"
#include "host/Offscreen.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace webtest {

// Writes down every delegate call in order: "should <url> <type>", "start", "finish",
// "fail <code>". `decide` answers should-start-load (yes when empty).
struct Recorder : ui::WebViewDelegate {
    std::vector<std::string> log;
    std::function<bool(ui::WebView &, const base::Url &, ui::NavigationType)> decide;
    // Turns a URL into its log text (the test's server prefix cut off).
    std::function<std::string(const base::Url &)> name = [](const base::Url &u) {
        return u.absoluteString();
    };

    base::Opt<bool> shouldStartLoad(ui::WebView &web, const base::Url &url,
                                    ui::NavigationType type) override {
        log.push_back("should " + name(url) + " " + std::to_string(int(type)));
        return decide ? decide(web, url, type) : true;
    }
    base::Opt<void> didStartLoad(ui::WebView &) override {
        log.push_back("start");
        return {};
    }
    base::Opt<void> didFinishLoad(ui::WebView &) override {
        log.push_back("finish");
        return {};
    }
    base::Opt<void> didFail(ui::WebView &, const base::Error &error) override {
        log.push_back("fail " + std::to_string(error.code()));
        return {};
    }
    std::vector<std::string> take() { return std::exchange(log, {}); }
};

// A web view of the given size in the offscreen host's window, over a dark background as the
// application's panels give it, with a recording delegate.
struct WebStage {
    host::TestApp app;
    base::Ref<ui::View> backdrop;
    base::Ref<ui::WebView> web;
    base::Ref<Recorder> recorder = base::make<Recorder>();

    explicit WebStage(gfx::Size size) {
        backdrop = base::make<ui::View>(gfx::Rect{{0, 0}, size});
        backdrop->setBackgroundColor(gfx::Color::rgba(5 / 255.f, 61 / 255.f, 88 / 255.f));
        app.window().addSubview(backdrop);
        web = base::make<ui::WebView>(gfx::Rect{{0, 0}, size});
        backdrop->addSubview(web);
        web->delegate = recorder;
    }

    // Runs the loop (waiting for sockets on its own poll) until the web view has stopped loading;
    // a real-time bound turns a hang into a failure.
    bool settle() {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (web->isLoading()) {
            if (std::chrono::steady_clock::now() > until)
                return false;
            base::RunLoop::main().runOnce(base::RunLoop::Default, 0.01);
        }
        app.runPending();
        return true;
    }

    // Taps the first line of the shown page's link to `url`; false when there is none.
    bool tapLink(const std::string &url) {
        for (const auto &link : web->links())
            if (link.url.absoluteString() == url) {
                gfx::Rect frame = web->convert(link.frame, nullptr);
                app.tap({frame.x() + frame.width() / 2, frame.y() + frame.height() / 2});
                app.advance(1);
                return true;
            }
        return false;
    }
};

} // namespace webtest
