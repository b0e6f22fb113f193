#include "base/Object.h"
#include "base/NotificationCenter.h"

#include <gtest/gtest.h>

namespace base {
namespace {

// Listens from its set-up on, which needs the object already owned: a constructor could not.
struct Listener : Object {
    int heard = 0;
    void setUp() override {
        Object::setUp();
        NotificationCenter::shared().addObserver(weakSelf(), "Ping",
                                                 [this](const Notification &) { ++heard; });
    }
};
BASE_REGISTER_CLASS(Listener);

// Two roots: made like any other object, with no set-up to run.
struct Left : Object {};
struct Right : Object {};
struct Both : Left, Right {};

TEST(Factory, RunsTheSetUpOnceTheOwnerExistsForMadeAndNamedObjects) {
    auto made = make<Listener>();
    auto named = std::dynamic_pointer_cast<Listener>(ClassRegistry::create("Listener"));
    ASSERT_TRUE(named);
    NotificationCenter::shared().post("Ping");
    EXPECT_EQ(made->heard, 1);
    EXPECT_EQ(named->heard, 1);
    made.reset();
    NotificationCenter::shared().post("Ping");
    EXPECT_EQ(named->heard, 2);
    EXPECT_TRUE(make<Both>());
}

} // namespace
} // namespace base
