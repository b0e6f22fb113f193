#pragma once

#include "base/Object.h"

#include <functional>
#include <mutex>

namespace base {

class RunLoop;

using Lock = std::mutex;
using RecursiveLock = std::recursive_mutex;

// A detached thread with a run loop of its own. Other threads hand it work through runLoop().post().
class Thread : public Object {
public:
    // Starts `body` on a new thread; inside it RunLoop::current() is this thread's runLoop().
    static Ref<Thread> detach(std::function<void()> body);
    // Whether the caller runs on the main thread (the one that started the process).
    static bool isMain();

    RunLoop &runLoop() const { return *loop_; }

private:
    explicit Thread(Ref<RunLoop> loop) : loop_(std::move(loop)) {}
    Ref<RunLoop> loop_;
};

} // namespace base
