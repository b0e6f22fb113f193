#pragma once

#include "CoordinatorFixture.h"

#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"

#include "ui/NavigationController.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace detailscreen {

// The screen the detail screen is pushed from.
struct ListScreen : CMViewController {};

// A finished login on the loopback quote server as the process-wide coordinator, fresh user files
// and a list screen under a navigation controller in the offscreen window, from which tests open
// detail screens as the openers do.
class DetailScreenTest : public coordinator::CoordinatorTest {
protected:
    // `generated` made-up stocks on each exchange besides the named ones.
    explicit DetailScreenTest(int generated = 20);
    ~DetailScreenTest() override;

    // A detail screen for the code, pushed and settled: its first load has been answered.
    base::Ref<StockDetailViewController> open(const std::string &code, int boardID = 0);
    // Made and set up as an opener does, not yet pushed.
    base::Ref<StockDetailViewController> make(const std::string &code, int boardID = 0);
    void push(const base::Ref<StockDetailViewController> &screen);

    // The message types the server received since it was last cleared, in order, without the
    // coordinator's own heartbeats and breaking-news polls.
    std::vector<int> types() const;
    std::set<int> typeSet() const {
        std::vector<int> all = types();
        return {all.begin(), all.end()};
    }
    // The basic information of the shown code as if its reply had arrived, with that type.
    void answerBasicInf(StockDetailViewController &screen, int type, const std::string &name = "名称");
    static base::Ref<ReqParams> params(const std::string &code);
    static gfx::Point centre(const ui::View &view);

    base::Ref<ListScreen> list = base::make<ListScreen>();
    base::Ref<ui::NavigationController> nav;
};

} // namespace detailscreen
