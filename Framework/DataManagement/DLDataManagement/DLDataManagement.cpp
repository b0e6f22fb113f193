#include "DataManagement/DLDataManagement/DLDataManagement.h"

#include "DataManagement/DLMsgCenter/DLMsgData.h"

#include "base/Str.h"

#include <mutex>

namespace {

std::mutex &sharedLock() {
    static std::mutex lock;
    return lock;
}

base::Ref<DLDataManagement> &sharedHub() {
    static base::Ref<DLDataManagement> hub;
    return hub;
}

} // namespace

base::Ref<DLDataManagement> DLDataManagement::sharedDLDataManagement() {
    std::lock_guard guard(sharedLock());
    if (!sharedHub())
        sharedHub() = base::make<DLDataManagement>();
    return sharedHub();
}

void DLDataManagement::resetSharedForTesting() {
    std::lock_guard guard(sharedLock());
    sharedHub() = base::make<DLDataManagement>();
}

void DLDataManagement::initialize() {
    if (msgCenter_)
        return;
    msgCenter_ = base::make<DLMsgCenter>(MsgCenterNotify);
    msgCenter_->delegate = weakSelf<DLDataManagement>();
    _newsDataManagement = base::make<QVNNewsDataManagement>();
    _newsDataManagement->delegate = weakSelf<DLDataManagement>();
}

std::string DLDataManagement::getNewNotifyID() {
    return base::str::format("MsgCenterObserver_%d", ++_notifySeqID);
}

void DLDataManagement::notifyRequest(const base::Dict &envelope) {
    if (envelope.get(DLMsgData::DataSource).stringValue() == DLMsgData::NewsDataSource && _newsDataManagement)
        _newsDataManagement->SendRequest(envelope);
}

void DLDataManagement::qvnNewsDataManagement_didResponseData(const base::Dict &envelope) {
    if (msgCenter_)
        msgCenter_->notifyResponse(envelope);
}
