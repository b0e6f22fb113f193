#pragma once

#include "base/Object.h"
#include "base/Value.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace base {

struct Notification {
    std::string name;
    Ref<Object> object;
    Dict userInfo;
};

// The process-wide notification centre. Posting is synchronous on the posting thread: observers of
// the name run in the order they registered. An observer removed before its turn (also by an earlier
// handler of the same post) is not called; one whose object is gone is skipped and forgotten.
// Observers added during a post hear only later posts.
class NotificationCenter {
public:
    using Handler = std::function<void(const Notification &)>;

    static NotificationCenter &shared();

    // Calls `handler` for every post of `name` (from `sender` only, when one is given) until
    // `observer` is removed or gone. The observer is not retained, and is kept alive while its
    // handler runs.
    void addObserver(Weak<Object> observer, std::string name, Handler handler, Weak<Object> sender = {});
    // Removes the observer's observations of `name`, or of every name when `name` is empty.
    void removeObserver(const Object *observer, std::string_view name = {});
    void post(std::string name, Ref<Object> object = nullptr, Dict userInfo = {});

private:
    struct Observation {
        Weak<Object> observer;
        const Object *observerId;
        std::string name;
        Handler handler;
        Weak<Object> sender;
        const Object *senderId; // nullptr: any sender
        bool removed = false;
    };

    std::mutex lock_;
    std::vector<std::shared_ptr<Observation>> observations_;
};

} // namespace base
