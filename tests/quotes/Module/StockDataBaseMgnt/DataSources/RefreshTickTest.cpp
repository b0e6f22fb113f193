#include "DataSourcesFixture.h"

namespace datasources {
namespace {

struct Screen : TimerCenterDelegate {
    base::Opt<void> OnTimerCenterNotify(int32_t userID) override {
        ids.push_back(userID);
        return {};
    }
    std::vector<int32_t> ids;
};

class RefreshTickTest : public DataSourcesTest {};

TEST_F(RefreshTickTest, TheCoordinatorTicksForTheScreenOnViewAndStopsTheTickWhenItGoes) {
    readyWithoutAccount();
    base::Ref<TimerCenter> center = DataBase::sharedDataBase()->IO_TimerCenter();
    ASSERT_TRUE(center);
    auto screen = std::make_shared<Screen>();
    center->setController(screen);
    center->resetCountDown(5.0, 400);
    advance(5.5);
    EXPECT_EQ(screen->ids, std::vector<int32_t>{400});

    base::Weak<TimerCenter> weak = center;
    center.reset();
    DataBase::setSharedDataBase(nullptr);
    restart();
    EXPECT_TRUE(weak.expired());
    EXPECT_NE(db->IO_TimerCenter(), nullptr);
}

} // namespace
} // namespace datasources
