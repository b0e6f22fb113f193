#include "base/NotificationCenter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using base::Notification;
using base::NotificationCenter;
using base::Object;
using base::Ref;

struct Named : Object {
    explicit Named(std::string name) : name(std::move(name)) {}
    std::string name;
};

class NotificationCenterTest : public ::testing::Test {
protected:
    // Observes `name` as `who`, logging "who:name".
    void observe(const Ref<Named> &who, const std::string &name, base::Weak<Object> sender = {}) {
        center.addObserver(
            who, name,
            [this, who = who.get()](const Notification &n) { log.push_back(who->name + ":" + n.name); },
            sender);
    }

    NotificationCenter &center = NotificationCenter::shared();
    std::vector<std::string> log;
    Ref<Named> a = base::make<Named>("a"), b = base::make<Named>("b"), c = base::make<Named>("c");
};

TEST_F(NotificationCenterTest, DeliversInRegistrationOrderWithObjectAndUserInfo) {
    observe(b, "AppNotify");
    observe(a, "AppNotify");
    observe(c, "CommonNotify");
    Ref<Object> seenObject;
    base::Dict seenInfo;
    center.addObserver(c, "AppNotify", [&](const Notification &n) {
        seenObject = n.object;
        seenInfo = n.userInfo;
    });
    auto sender = base::make<Named>("sender");
    center.post("AppNotify", sender, base::Dict{{"type", 3}});
    EXPECT_EQ(log, (std::vector<std::string>{"b:AppNotify", "a:AppNotify"}));
    EXPECT_EQ(seenObject, sender);
    EXPECT_EQ(seenInfo.get("type").intValue(), 3);
}

TEST_F(NotificationCenterTest, NothingAfterRemovalByNameOrWhole) {
    observe(a, "AppNotify");
    observe(a, "CommonNotify");
    observe(b, "AppNotify");
    center.removeObserver(a.get(), "AppNotify");
    center.post("AppNotify");
    center.post("CommonNotify");
    center.removeObserver(a.get());
    center.post("CommonNotify");
    EXPECT_EQ(log, (std::vector<std::string>{"b:AppNotify", "a:CommonNotify"}));
    center.removeObserver(b.get());
}

TEST_F(NotificationCenterTest, AnObserverRemovedByAnEarlierHandlerOfTheSamePostIsNotCalled) {
    center.addObserver(a, "MsgCenterNotify", [&](const Notification &) {
        log.push_back("a");
        center.removeObserver(b.get());
        observe(c, "MsgCenterNotify"); // hears only later posts
    });
    observe(b, "MsgCenterNotify");
    center.post("MsgCenterNotify");
    EXPECT_EQ(log, (std::vector<std::string>{"a"}));
    center.post("MsgCenterNotify");
    EXPECT_EQ(log, (std::vector<std::string>{"a", "a", "c:MsgCenterNotify"}));
    center.removeObserver(a.get());
    center.removeObserver(c.get());
}

TEST_F(NotificationCenterTest, OnlyTheChosenSender) {
    auto quotes = base::make<Named>("quotes"), trade = base::make<Named>("trade");
    observe(a, "NetworkReachabilityChangedNotification", quotes);
    observe(b, "NetworkReachabilityChangedNotification");
    center.post("NetworkReachabilityChangedNotification", trade);
    center.post("NetworkReachabilityChangedNotification", quotes);
    EXPECT_EQ(log, (std::vector<std::string>{"b:NetworkReachabilityChangedNotification",
                                             "a:NetworkReachabilityChangedNotification",
                                             "b:NetworkReachabilityChangedNotification"}));
    center.removeObserver(a.get());
    center.removeObserver(b.get());
}

TEST_F(NotificationCenterTest, AnObserverThatIsGoneIsSkippedAndItsHandlerLetGo) {
    auto captured = std::make_shared<int>(0);
    base::Weak<int> watch = captured;
    center.addObserver(a, "AppNotify", [captured](const Notification &) { ++*captured; });
    captured.reset();
    center.post("AppNotify");
    EXPECT_EQ(*watch.lock(), 1);
    a.reset();
    center.post("AppNotify");
    EXPECT_TRUE(watch.expired());
}

TEST_F(NotificationCenterTest, AnObserverStaysAliveWhileItsHandlerRuns) {
    Ref<Named> holder = base::make<Named>("held");
    Named *raw = holder.get();
    center.addObserver(holder, "AppNotify", [&, raw](const Notification &) {
        holder.reset(); // the last outside reference
        log.push_back(raw->name);
    });
    center.post("AppNotify");
    EXPECT_EQ(log, (std::vector<std::string>{"held"}));
    EXPECT_EQ(holder, nullptr);
}

} // namespace
