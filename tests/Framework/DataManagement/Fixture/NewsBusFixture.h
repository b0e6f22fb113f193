#pragma once

#include "DataManagement/DLDataManagement/DLDataManagement.h"
#include "DataManagement/DLDataManagement/DataInterface/QVNNewsDataInterface.h"
#include "DataManagement/DLMsgCenter/DLMsgData.h"

#include "ScratchBundle.h"
#include "base/NotificationCenter.h"
#include "base/VirtualClock.h"
#include "peers/LoopDriver.h"
#include "peers/NginxSuite.h"

#include <string>
#include <vector>

namespace newsbus {

// One requester on the bus, as a news facade is: a ControllerID of its own, the envelopes it
// posts and the replies it hears.
class Requester : public base::Object {
public:
    void setUp() override;
    // Posts a request under the request name and answers the envelope posted.
    base::Dict post(base::Dict reqData, const std::string &dataSource = DLMsgData::NewsDataSource);

    std::string controllerID;
    std::vector<base::Dict> replies;
};

// The bus on a fresh hub, initialised, with nginx as the news host serving our news documents;
// the loop runs under the virtual clock until the fetcher has nothing in flight.
class NewsBusTest : public peers::NginxSuite<> {
public:
    static base::VirtualClock &sharedClock();

protected:
    NewsBusTest();
    ~NewsBusTest() override;

    base::Ref<Requester> requester() { return base::make<Requester>(); }
    QVNNewsDataManagement &fetcher() {
        return *DLDataManagement::sharedDLDataManagement()->newsDataManagement();
    }
    // Runs until the fetcher has no transfer left, or until `done`.
    bool runUntilIdle(const std::function<bool()> &done = {}) { return driver.runUntilIdle(done); }
    // The reply dictionary of a request of `reqData`, run to its end.
    base::Dict replyTo(base::Dict reqData);
    std::string url(const std::string &path) const { return nginx->url(path); }

    peers::LoopDriver driver{sharedClock()};
};

} // namespace newsbus
