#include "ui/SearchBar.h"

#include "host/Offscreen.h"
#include "ui/TextView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ui {
namespace {

using base::make;
using base::Ref;
using Log = std::vector<std::string>;

struct Searcher : SearchBarDelegate {
    Log log;
    base::Opt<void> textDidChange(SearchBar &, const std::string &text) override {
        log.push_back("changed " + text);
        return {};
    }
    base::Opt<void> cancelClicked(SearchBar &) override {
        log.push_back("cancel");
        return {};
    }
    base::Opt<void> resultsListClicked(SearchBar &) override {
        log.push_back("results");
        return {};
    }
    base::Opt<void> didEndEditing(SearchBar &bar) override {
        log.push_back("end");
        bar.setText("");
        return {};
    }
};

TEST(SearchBarTest, ReportsEditsAndButtonsButNotSetText) {
    host::TestApp app;
    auto bar = make<SearchBar>(gfx::Rect{0, 0, 320, 44});
    auto searcher = make<Searcher>();
    bar->delegate = searcher;
    bar->setBarStyle(SearchBar::Style::Black);
    bar->setPlaceholder("请输入简拼或代码");
    bar->setShowsCancelButton(true);
    bar->setShowsSearchResultsButton(true);
    app.window().addSubview(bar);
    app.window().layoutIfNeeded();

    bar->setText("60");
    bar->textField().becomeFirstResponder();
    app.typeText("0");
    gfx::Rect cancel = bar->cancelButton().frame();
    app.tap({cancel.midX(), cancel.midY()});
    gfx::Rect results = bar->resultsButton().convert(bar->resultsButton().bounds(), nullptr);
    app.tap({results.midX(), results.midY()});
    bar->textField().resignFirstResponder();
    EXPECT_EQ(searcher->log, (Log{"changed 600", "cancel", "results", "end"}));
    EXPECT_EQ(bar->text(), "");

    searcher.reset();
    bar->textField().becomeFirstResponder();
    app.typeText("1");
    app.tap({cancel.midX(), cancel.midY()});
    bar->textField().resignFirstResponder();
}

TEST(TextViewTest, LongTextScrollsAndShortTextStartsAtTheTop) {
    host::TestApp app;
    auto view = make<TextView>(gfx::Rect{0, 0, 300, 100});
    app.window().addSubview(view);
    view->setText("短");
    EXPECT_LT(view->contentSize().h, 100);
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "委托成功，请查询。";
    view->setText(text);
    EXPECT_GT(view->contentSize().h, 200);
    app.dragAndRest({150, 90}, {150, 10});
    EXPECT_FLOAT_EQ(view->contentOffset().y, 80);
}

} // namespace
} // namespace ui
