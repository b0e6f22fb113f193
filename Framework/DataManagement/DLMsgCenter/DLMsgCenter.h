#pragma once

#include "base/NotificationCenter.h"
#include "base/Object.h"
#include "base/Value.h"

#include <string>

// What the bus listener hands its owner: every envelope posted under the request name.
class DLMsgCenterDelegate {
public:
    virtual ~DLMsgCenterDelegate() = default;
    virtual void notifyRequest(const base::Dict &envelope) = 0;
};

// The news bus's ear and mouth, owned by the hub (DLDataManagement): it hears every envelope
// posted under its request name and passes it to its delegate, and it posts each reply under the
// envelope's own ControllerID, so that only the requester hears it. It listens from set-up to its
// end.
class DLMsgCenter : public base::Object {
public:
    explicit DLMsgCenter(std::string msgName) : msgName_(std::move(msgName)) {}
    ~DLMsgCenter() override;
    void setUp() override;

    void MsgCenterProcess(const base::Notification &notification);
    // Posts the envelope, with no sender, under its "ControllerID".
    void notifyResponse(const base::Dict &envelope);

    // Not retained.
    base::Weak<DLMsgCenterDelegate> delegate;

private:
    std::string msgName_;
};
