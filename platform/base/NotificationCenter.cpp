#include "base/NotificationCenter.h"

#include <algorithm>

namespace base {

NotificationCenter &NotificationCenter::shared() {
    // Never destroyed, so that objects torn down at exit can still remove themselves.
    static NotificationCenter *center = new NotificationCenter;
    return *center;
}

void NotificationCenter::addObserver(Weak<Object> observer, std::string name, Handler handler,
                                     Weak<Object> sender) {
    Ref<Object> alive = observer.lock();
    if (!alive || !handler)
        return;
    auto observation = std::make_shared<Observation>(Observation{
        std::move(observer), alive.get(), std::move(name), std::move(handler), sender, sender.lock().get()});
    std::lock_guard guard(lock_);
    observations_.push_back(std::move(observation));
}

void NotificationCenter::removeObserver(const Object *observer, std::string_view name) {
    std::vector<std::shared_ptr<Observation>> gone;
    std::lock_guard guard(lock_);
    std::erase_if(observations_, [&](const std::shared_ptr<Observation> &o) {
        if (o->observerId != observer || (!name.empty() && o->name != name))
            return false;
        o->removed = true;
        gone.push_back(o);
        return true;
    });
}

void NotificationCenter::post(std::string name, Ref<Object> object, Dict userInfo) {
    const Notification notification{std::move(name), std::move(object), std::move(userInfo)};
    std::vector<std::shared_ptr<Observation>> matching, pruned;
    {
        std::lock_guard guard(lock_);
        std::erase_if(observations_, [&](const std::shared_ptr<Observation> &o) {
            if (!o->observer.expired())
                return false;
            pruned.push_back(o);
            return true;
        });
        for (auto &o : observations_)
            if (o->name == notification.name && (!o->senderId || o->senderId == notification.object.get()))
                matching.push_back(o);
    }
    // Handlers of forgotten observations are let go outside the lock: they may own objects that
    // remove themselves on destruction.
    pruned.clear();
    for (auto &o : matching) {
        Ref<Object> observer = o->observer.lock();
        if (!observer)
            continue;
        {
            std::lock_guard guard(lock_);
            if (o->removed)
                continue;
        }
        // A sender that has gone cannot be the object posted now, whatever its old address.
        if (o->senderId && o->sender.expired())
            continue;
        o->handler(notification);
    }
}

} // namespace base
