#include "base/Thread.h"

#include "base/RunLoop.h"

#include <thread>

namespace base {

namespace {
// Static initialisation runs on the thread that starts the process.
const std::thread::id mainThreadId = std::this_thread::get_id();
} // namespace

bool Thread::isMain() {
    return std::this_thread::get_id() == mainThreadId;
}

Ref<Thread> Thread::detach(std::function<void()> body) {
    Ref<Thread> thread(new Thread(RunLoop::create()));
    std::thread([loop = thread->loop_, body = std::move(body)]() mutable {
        RunLoop::adopt(std::move(loop));
        body();
    }).detach();
    return thread;
}

} // namespace base
