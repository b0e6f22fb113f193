#pragma once

#include "DataManagement/DLDataManagement/QVNNewsDataManagement/QVNNewsDataManagement.h"
#include "DataManagement/DLMsgCenter/DLMsgCenter.h"

#include "base/Object.h"

#include <cstdint>
#include <string>

// The hub of the news bus, one per process. Requesters (the news facades, NewsData) post envelopes
// under "MsgCenterNotify"; the hub's listener hears them, the hub hands those whose "DataSource" is
// "NEWS" to the news fetcher and drops any other, and posts each filled envelope back under the
// requester's ControllerID. It also issues the ControllerIDs, "MsgCenterObserver_<n>" from 1 on,
// unique for the life of the process.
//
// The hub exists from the first call of sharedDLDataManagement (usually a facade asking for its
// ControllerID during start-up); it listens only once the application delegate has sent
// initialize at launch, so a request posted earlier reaches nobody.
class DLDataManagement : public base::Object,
                         public DLMsgCenterDelegate,
                         public QVNNewsDataManagementDelegate {
public:
    static constexpr const char *MsgCenterNotify = "MsgCenterNotify";

    static base::Ref<DLDataManagement> sharedDLDataManagement();
    // Replaces the process's hub with a new one, as if the process started again: for tests that
    // count ControllerIDs from 1 or need a hub that has not been initialised.
    static void resetSharedForTesting();

    // Starts the listener and the fetcher. Sent once at launch; a second call (a relaunched
    // application delegate) keeps the running pair, so that no request is served twice.
    void initialize();
    std::string getNewNotifyID();

    void notifyRequest(const base::Dict &envelope) override;
    void qvnNewsDataManagement_didResponseData(const base::Dict &envelope) override;

    // Nothing before initialize.
    const base::Ref<DLMsgCenter> &msgCenter() const { return msgCenter_; }
    const base::Ref<QVNNewsDataManagement> &newsDataManagement() const { return _newsDataManagement; }

private:
    base::Ref<DLMsgCenter> msgCenter_;
    base::Ref<QVNNewsDataManagement> _newsDataManagement;
    int32_t _notifySeqID = 0;
};
