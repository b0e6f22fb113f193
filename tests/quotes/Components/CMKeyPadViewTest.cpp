#include "Components/CMKeyPadView.h"

#include "Golden.h"
#include "gfx/Context.h"
#include "host/Offscreen.h"
#include "ui/TextField.h"
#include "ui/TextView.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int HideTag = 2040, LogoTag = 2039, DTag = 2023, JTag = 2027;

struct Listener : base::Object {
    std::vector<std::string> heard;
    void changed(ui::TextField *field) { heard.push_back(field ? field->text() : "(no field)"); }
};

struct KeyPadTest : ::testing::Test {
    host::TestApp app;
    base::Ref<CMKeyPadView> pad = CMKeyPadView::create({{0, 0}, CMKeyPadView::LandscapeSize});
    base::Ref<ui::TextField> field = base::make<ui::TextField>(gfx::Rect{20, 500, 200, 30});
    base::Ref<ui::TextView> textView = base::make<ui::TextView>(gfx::Rect{20, 560, 200, 100});

    void SetUp() override {
        app.window().addSubview(pad);
        app.window().addSubview(field);
        app.window().addSubview(textView);
        app.window().layoutIfNeeded();
    }
    // The key showing the title; the picture keys by their hidden titles.
    ui::Button &key(const std::string &title) {
        for (int tag = CMKeyPadView::DigitTag; tag <= CMKeyPadView::DeleteTag; ++tag)
            if (ui::Button *b = pad->keyWithTag(tag); b && b->titleForState(ui::Normal) == title)
                return *b;
        throw std::runtime_error("no key " + title);
    }
    void tap(ui::Button &button) {
        gfx::Rect r = button.convert(button.bounds(), nullptr);
        app.tap({r.x() + r.width() / 2, r.y() + r.height() / 2});
    }
    void tapAll(const std::vector<std::string> &titles) {
        for (const std::string &t : titles)
            tap(key(t));
    }
};

TEST_F(KeyPadTest, KeysEditATextField) {
    const std::string del = CMKeyPadView::DeleteTitle, logo = CMKeyPadView::LogoTitle;
    struct Case {
        const char *what, *before;
        size_t caret;
        std::vector<std::string> keys;
        const char *after;
    } cases[] = {
        {"digits", "", 0, {"6", "0", "1"}, "601"},
        {"letters", "", 0, {"Z", "G", "Q"}, "ZGQ"},
        {"prefixes", "", 0, {"600", "000", "300"}, "600000300"},
        {"append whatever the caret", "12", 0, {"3"}, "123"},
        {"delete empties", "60057", 2, {del}, ""},
        {"delete on nothing", "", 0, {del, "1"}, "1"},
        {"logo replaces", "12", 1, {logo}, CMKeyPadView::LogoCode},
    };
    pad->SetInputTarget(field);
    for (const Case &c : cases) {
        field->setText(c.before);
        field->setSelectedRange({c.caret, 0});
        tapAll(c.keys);
        EXPECT_EQ(field->text(), c.after) << c.what;
    }
}

TEST_F(KeyPadTest, KeysEditATextViewAtItsSelection) {
    const std::string del = CMKeyPadView::DeleteTitle, logo = CMKeyPadView::LogoTitle;
    struct Case {
        const char *what, *before;
        ui::Range selection;
        std::vector<std::string> keys;
        const char *after;
        size_t caret;
    } cases[] = {
        {"append", "1", {0, 0}, {"A", "000"}, "1A000", 5},
        {"delete before the caret", "abc", {2, 0}, {del}, "ac", 1},
        {"delete twice at the end", "6005", {4, 0}, {del, del}, "60", 2},
        {"delete the selection", "abcd", {1, 2}, {del}, "ad", 1},
        {"delete at the start", "abc", {0, 0}, {del}, "abc", 0},
        {"delete a wide character", "中文", {2, 0}, {del}, "中", 1},
        {"logo", "xyz", {1, 1}, {logo}, CMKeyPadView::LogoCode, 6},
    };
    pad->SetInputTarget(textView);
    for (const Case &c : cases) {
        textView->setText(c.before);
        textView->setSelectedRange(c.selection);
        tapAll(c.keys);
        EXPECT_EQ(textView->text(), c.after) << c.what;
        EXPECT_EQ(textView->selectedRange(), (ui::Range{c.caret, 0})) << c.what;
    }
}

TEST_F(KeyPadTest, HideKeyEndsEditingAndTypesNothing) {
    pad->SetInputTarget(field);
    field->setText("60");
    ASSERT_TRUE(field->becomeFirstResponder());
    tap(*pad->keyWithTag(HideTag));
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(field->text(), "60");
    EXPECT_EQ(pad->keyWithTag(HideTag)->titleForState(ui::Normal), CMKeyPadView::DismissTitle);
    EXPECT_EQ(pad->keyWithTag(LogoTag)->titleForState(ui::Normal), CMKeyPadView::LogoTitle);
}

TEST_F(KeyPadTest, TextChangedTargetHearsTheInputFieldOnly) {
    auto listener = base::make<Listener>();
    pad->SetTextChangedTarget(BASE_ACTION(listener.get(), changed));
    auto other = base::make<ui::TextField>(gfx::Rect{300, 500, 200, 30});
    app.window().addSubview(other);
    pad->SetInputTarget(other);
    pad->SetInputTarget(field);

    tapAll({"6", "0"});
    ASSERT_TRUE(field->becomeFirstResponder());
    app.typeText("1");
    tap(key(CMKeyPadView::DeleteTitle));
    ASSERT_TRUE(other->becomeFirstResponder());
    app.typeText("9"); // not the input any more
    EXPECT_EQ(listener->heard, (std::vector<std::string>{"6", "60", "601", ""}));

    pad->SetInputTarget(textView);
    tap(key("7"));
    EXPECT_EQ(listener->heard.size(), 4u) << "a text view has no change notification";
}

TEST_F(KeyPadTest, KeysWithoutAnInputDoNothing) {
    auto listener = base::make<Listener>();
    pad->SetTextChangedTarget(BASE_ACTION(listener.get(), changed));
    tapAll({"1", CMKeyPadView::DeleteTitle, CMKeyPadView::LogoTitle, CMKeyPadView::DismissTitle});

    pad->SetInputTarget(field);
    field->removeFromSuperview();
    field = nullptr;
    tapAll({"1", CMKeyPadView::DeleteTitle, CMKeyPadView::LogoTitle, CMKeyPadView::DismissTitle});
    EXPECT_TRUE(listener->heard.empty());
}

TEST_F(KeyPadTest, LaysOutForEitherWidth) {
    struct Case {
        gfx::Size size;
        gfx::Rect one, del, q, hide, dMark;
    } cases[] = {
        {CMKeyPadView::PortraitSize,
         {13, 9, 62, 54},
         {693, 9, 62, 54},
         {47, 73, 62, 54},
         {659, 201, 62, 54},
         {21, 46, 20, 4}},
        {CMKeyPadView::LandscapeSize,
         {9, 11, 84, 73},
         {929, 11, 84, 73},
         {55, 97, 84, 73},
         {883, 269, 84, 73},
         {32, 65, 20, 4}},
    };
    for (const Case &c : cases) {
        pad->setFrame({{0, 0}, c.size});
        pad->layoutIfNeeded();
        EXPECT_EQ(pad->keyWithTag(CMKeyPadView::DigitTag + 1)->frame(), c.one);
        EXPECT_EQ(pad->keyWithTag(CMKeyPadView::DeleteTag)->frame(), c.del);
        EXPECT_EQ(pad->keyWithTag(CMKeyPadView::FirstLetterTag)->frame(), c.q);
        EXPECT_EQ(pad->keyWithTag(HideTag)->frame(), c.hide);
        EXPECT_EQ(pad->markOfKey(DTag)->frame(), c.dMark);
        EXPECT_LE(c.hide.maxY(), c.size.h);
    }
    EXPECT_EQ(pad->keyWithTag(CMKeyPadView::DigitTag)->titleForState(ui::Normal), "0");
    EXPECT_EQ(pad->keyWithTag(CMKeyPadView::FirstLetterTag)->titleForState(ui::Normal), "Q");
    EXPECT_EQ(pad->keyWithTag(DTag)->titleForState(ui::Normal), "D");
    EXPECT_NE(pad->markOfKey(JTag), nullptr);
    EXPECT_EQ(pad->markOfKey(DTag + 1), nullptr);
}

TEST_F(KeyPadTest, GoldenLandscape) {
    field->removeFromSuperview();
    textView->removeFromSuperview();
    gfx::Surface window = app.render();
    gfx::Surface shot(CMKeyPadView::LandscapeSize.w, CMKeyPadView::LandscapeSize.h);
    gfx::Context context(shot);
    context.drawImage({0, 0, float(window.width()), float(window.height())}, gfx::Image(window));
    EXPECT_TRUE(qvtest::matchesGolden(shot, "common/stock-keypad", 48));
}

} // namespace
