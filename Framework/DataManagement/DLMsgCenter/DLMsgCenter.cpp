#include "DataManagement/DLMsgCenter/DLMsgCenter.h"

#include "DataManagement/DLMsgCenter/DLMsgData.h"

DLMsgCenter::~DLMsgCenter() {
    base::NotificationCenter::shared().removeObserver(this);
}

void DLMsgCenter::setUp() {
    base::Weak<DLMsgCenter> weak = weakSelf<DLMsgCenter>();
    base::NotificationCenter::shared().addObserver(weak, msgName_, [weak](const base::Notification &n) {
        if (auto self = weak.lock())
            self->MsgCenterProcess(n);
    });
}

void DLMsgCenter::MsgCenterProcess(const base::Notification &notification) {
    if (auto listener = delegate.lock())
        listener->notifyRequest(notification.userInfo);
}

void DLMsgCenter::notifyResponse(const base::Dict &envelope) {
    base::NotificationCenter::shared().post(envelope.get(DLMsgData::ControllerID).stringValue(), nullptr,
                                            envelope);
}
