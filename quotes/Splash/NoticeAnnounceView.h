#pragma once

#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <string>

class NoticeAnnounceView;

// Told that the user accepted the disclaimer (optional).
class NoticeAnnounceViewDelegate {
public:
    virtual ~NoticeAnnounceViewDelegate() = default;
    virtual base::Opt<void> IsAcceptNotice(NoticeAnnounceView &) { return base::notImplemented; }
};

// The first-run disclaimer over the splash: a title bar, the risk text ending with the maker's
// customer-service number, and the buttons "不接受" (tag 1), which ends the process at once with
// status 0, and "接受" (tag 2), which tells the delegate.
class NoticeAnnounceView : public ui::View {
public:
    static constexpr int RefuseTag = 1, AcceptTag = 2;

    explicit NoticeAnnounceView(gfx::Rect frame);
    void setUp() override;

    base::Weak<NoticeAnnounceViewDelegate> delegate;

    void noticeAction(int tag);
    // The disclaimer's paragraphs as the body shows them.
    static std::string noticeText();

    ui::Label &bodyLabel() { return *body_; }
    ui::Button &refuseButton() { return *refuse_; }
    ui::Button &acceptButton() { return *accept_; }

private:
    base::Ref<ui::Label> body_;
    base::Ref<ui::Button> refuse_, accept_;
};
