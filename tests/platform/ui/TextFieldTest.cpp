#include "ui/TextField.h"

#include "Golden.h"
#include "base/NotificationCenter.h"
#include "base/Str.h"
#include "host/Offscreen.h"
#include "ui/KeyboardHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ui {
namespace {

using base::make;
using base::Ref;
using Log = std::vector<std::string>;

// Writes down the delegate calls and the change notifications in one log, in order. With a limit
// it refuses edits that would make the text longer, as the order panel's six-digit fields do.
struct Watcher : TextFieldDelegate {
    Log log;
    size_t limit = 0;
    bool mayBegin = true;

    base::Opt<bool> shouldBeginEditing(TextField &) override {
        log.push_back("should begin");
        return mayBegin;
    }
    base::Opt<void> didBeginEditing(TextField &) override {
        log.push_back("did begin");
        return {};
    }
    base::Opt<void> didEndEditing(TextField &) override {
        log.push_back("did end");
        return {};
    }
    base::Opt<bool> shouldChange(TextField &f, Range r, const std::string &s) override {
        log.push_back("should change " + std::to_string(r.location) + "," + std::to_string(r.length) + " " +
                      s);
        return limit == 0 ||
               base::str::codePoints(f.text()).size() - r.length + base::str::codePoints(s).size() <= limit;
    }
    base::Opt<bool> shouldReturn(TextField &) override {
        log.push_back("should return");
        return true;
    }
};

struct TextFieldTest : ::testing::Test {
    host::TestApp app;
    Ref<TextField> field = make<TextField>(gfx::Rect{20, 20, 200, 31});
    Ref<Watcher> watcher = make<Watcher>();
    Ref<base::Object> observer = make<base::Object>();
    Log keyboard;

    void SetUp() override {
        field->delegate = watcher;
        field->setBorderStyle(TextField::Border::RoundedRect);
        app.window().addSubview(field);
        base::NotificationCenter::shared().addObserver(
            observer, TextField::TextDidChangeNotification, [this](const base::Notification &n) {
                EXPECT_EQ(n.object, field);
                watcher->log.push_back("notified " + field->text());
            });
        for (const char *name : {KeyboardHost::WillShowNotification, KeyboardHost::DidShowNotification,
                                 KeyboardHost::WillHideNotification, KeyboardHost::DidHideNotification})
            base::NotificationCenter::shared().addObserver(
                observer, name, [this](const base::Notification &n) { keyboard.push_back(n.name); });
    }
    void TearDown() override {
        base::NotificationCenter::shared().removeObserver(observer.get());
        field->resignFirstResponder();
        app.advance(1);
    }
};

TEST_F(TextFieldTest, ACompositionIsNoTextUntilCommitted) {
    ASSERT_TRUE(field->becomeFirstResponder());
    watcher->log.clear();
    app.compose("pingan");
    EXPECT_EQ(field->composition(), "pingan");
    EXPECT_EQ(field->text(), "");
    EXPECT_TRUE(watcher->log.empty());
    app.commit("平安");
    EXPECT_EQ(field->text(), "平安");
    EXPECT_EQ(field->composition(), "");
    EXPECT_EQ(watcher->log, (Log{"should change 0,0 平安", "notified 平安"}));
}

TEST_F(TextFieldTest, SetTextIsSilent) {
    field->becomeFirstResponder();
    watcher->log.clear();
    field->setText("600000");
    EXPECT_EQ(field->text(), "600000");
    EXPECT_TRUE(watcher->log.empty());
    app.typeText("1");
    EXPECT_EQ(watcher->log, (Log{"should change 6,0 1", "notified 6000001"}));
}

TEST_F(TextFieldTest, ShouldChangeLimitsTheLength) {
    watcher->limit = 6;
    field->becomeFirstResponder();
    for (char c : std::string("1234567"))
        app.typeText(std::string(1, c));
    EXPECT_EQ(field->text(), "123456");
    // Replacing a selection within the limit is allowed.
    app.pressKey(Key::Left, true);
    app.typeText("9");
    EXPECT_EQ(field->text(), "123459");
    app.setClipboardText("77");
    app.pressKey(Key::Paste);
    EXPECT_EQ(field->text(), "123459");
}

TEST_F(TextFieldTest, EditingKeys) {
    struct Case {
        const char *name;
        std::vector<std::pair<Key, bool>> keys;
        std::string typed;
        std::string text;
        Range selection;
    } cases[] = {
        {"backspace", {{Key::Backspace, false}}, "", "abcde", {5, 0}},
        {"left then backspace",
         {{Key::Left, false}, {Key::Left, false}, {Key::Backspace, false}},
         "",
         "abcef",
         {3, 0}},
        {"home then delete", {{Key::Home, false}, {Key::Delete, false}}, "", "bcdef", {0, 0}},
        {"shift left selects", {{Key::Left, true}, {Key::Left, true}}, "", "abcdef", {4, 2}},
        {"typing replaces the selection", {{Key::Left, true}, {Key::Left, true}}, "X", "abcdX", {5, 0}},
        {"left collapses a selection",
         {{Key::Left, true}, {Key::Left, true}, {Key::Left, false}},
         "",
         "abcdef",
         {4, 0}},
        {"shift home", {{Key::Left, false}, {Key::Home, true}}, "", "abcdef", {0, 5}},
        {"select all and delete", {{Key::SelectAll, false}, {Key::Backspace, false}}, "", "", {0, 0}},
        {"end after home", {{Key::Home, false}, {Key::End, false}}, "!", "abcdef!", {7, 0}},
        {"right stops at the end", {{Key::Right, false}, {Key::Right, false}}, "", "abcdef", {6, 0}},
    };
    field->becomeFirstResponder();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        field->setText("abcdef");
        field->setSelectedRange({6, 0});
        for (auto [key, shift] : c.keys)
            app.pressKey(key, shift);
        if (!c.typed.empty())
            app.typeText(c.typed);
        EXPECT_EQ(field->text(), c.text);
        EXPECT_EQ(field->selectedRange(), c.selection);
    }
}

TEST_F(TextFieldTest, CutCopyAndPasteUseTheClipboard) {
    field->becomeFirstResponder();
    field->setText("PAYH");
    app.pressKey(Key::SelectAll);
    app.pressKey(Key::Copy);
    EXPECT_EQ(app.clipboardText(), "PAYH");
    app.pressKey(Key::Cut);
    EXPECT_EQ(field->text(), "");
    app.setClipboardText("60\n0036");
    app.pressKey(Key::Paste);
    EXPECT_EQ(field->text(), "600036");
}

TEST_F(TextFieldTest, SecureEntryKeepsThePasswordFromClipboardAndInputMethod) {
    field->setSecureTextEntry(true);
    field->becomeFirstResponder();
    EXPECT_TRUE(app.textInput().secure);
    app.typeText("secret");
    app.compose("mima");
    EXPECT_EQ(field->composition(), "");
    app.setClipboardText("before");
    app.pressKey(Key::SelectAll);
    app.pressKey(Key::Copy);
    app.pressKey(Key::Cut);
    EXPECT_EQ(app.clipboardText(), "before");
    EXPECT_EQ(field->text(), "secret");
}

TEST_F(TextFieldTest, ReturnAsksTheDelegateAndATapElsewhereKeepsTheKeyboard) {
    app.tap({100, 35});
    EXPECT_TRUE(field->isEditing());
    EXPECT_EQ(watcher->log, (Log{"should begin", "did begin"}));
    app.pressKey(Key::Return);
    app.tap({600, 600});
    EXPECT_TRUE(field->isEditing());
    EXPECT_EQ(watcher->log.back(), "should return");
    EXPECT_EQ(field->text(), "");
}

TEST_F(TextFieldTest, ARefusedBeginLeavesTheFieldAlone) {
    watcher->mayBegin = false;
    app.tap({100, 35});
    EXPECT_FALSE(field->isEditing());
    EXPECT_FALSE(app.textInput().active);
    EXPECT_TRUE(keyboard.empty());
}

TEST_F(TextFieldTest, ClickPlacesTheCaretAndDragSelects) {
    field->setText("600036");
    app.tap({25, 35});
    EXPECT_EQ(field->selectedRange(), (Range{0, 0}));
    app.tap({215, 35});
    EXPECT_EQ(field->selectedRange(), (Range{6, 0}));
    app.drag({25, 35}, {215, 35});
    EXPECT_EQ(field->selectedRange(), (Range{0, 6}));
}

TEST_F(TextFieldTest, KeyboardShowsOnceAndHidesWithTheLastInput) {
    auto other = make<TextField>(gfx::Rect{20, 80, 200, 31});
    app.window().addSubview(other);
    base::Dict info;
    base::NotificationCenter::shared().addObserver(observer, KeyboardHost::WillShowNotification,
                                                   [&](const base::Notification &n) { info = n.userInfo; });
    field->becomeFirstResponder();
    EXPECT_EQ(keyboard, (Log{KeyboardHost::WillShowNotification}));
    EXPECT_EQ(info.get(KeyboardHost::DurationKey).doubleValue(), 0.25);
    base::Value end = info.get(KeyboardHost::FrameEndKey);
    const base::Array *frame = end.array();
    ASSERT_TRUE(frame);
    EXPECT_EQ((*frame)[1].doubleValue(), 416);
    app.advance(KeyboardHost::Duration);
    EXPECT_EQ(keyboard.back(), KeyboardHost::DidShowNotification);
    EXPECT_TRUE(app.textInput().active);

    other->becomeFirstResponder();
    app.advance(1);
    EXPECT_EQ(keyboard.size(), 2u);
    EXPECT_TRUE(app.textInput().active);
    EXPECT_FALSE(field->isEditing());

    other->resignFirstResponder();
    EXPECT_EQ(keyboard.back(), KeyboardHost::WillHideNotification);
    EXPECT_FALSE(app.textInput().active);
    app.advance(KeyboardHost::Duration);
    EXPECT_EQ(keyboard.back(), KeyboardHost::DidHideNotification);
    EXPECT_EQ(keyboard.size(), 4u);
}

TEST_F(TextFieldTest, TheInputMethodWindowFollowsTheCaret) {
    field->becomeFirstResponder();
    gfx::Rect empty = app.textInput().caret;
    app.typeText("PAYH");
    gfx::Rect after = app.textInput().caret;
    EXPECT_GT(after.x(), empty.x());
    EXPECT_GT(after.y(), 20);
    EXPECT_LT(after.maxY(), 51);
}

TEST_F(TextFieldTest, FieldWithCompositionAndCaretLooksRight) {
    auto window = make<Window>(gfx::Rect{0, 0, 240, 120});
    field->setFont(gfx::Font::system(16));
    window->addSubview(field);
    auto placeholder = make<TextField>(gfx::Rect{20, 70, 200, 31});
    placeholder->setBorderStyle(TextField::Border::RoundedRect);
    placeholder->setPlaceholder("拼音或代码");
    window->addSubview(placeholder);
    field->becomeFirstResponder();
    app.typeText("中国");
    app.compose("pingan");
    EXPECT_TRUE(qvtest::matchesGolden(window->render(), "ui/text-field-composition"));
}

} // namespace
} // namespace ui
