#pragma once

#include "base/Value.h"

#include <string>

// The envelope of the news bus: one dictionary that carries a request from its requester to the
// fetcher and, filled in, back again. The same dictionary travels both ways (it is shared by
// reference), so a requester finds its own "ReqData" in the reply.
//
// Entries: "ComponentID" (always ""), "ControllerID" (the requester's notification name, under
// which the reply is posted), "FuncID" (the requester's operation number as decimal text),
// "DataSource" (which fetcher serves it: "NEWS"), "ReqData" (the request, with "reqType") and
// "RspData" (empty until the fetcher fills it: "successRsp", "failMsg" or a result key).
class DLMsgData {
public:
    DLMsgData() = delete;

    static constexpr const char *ComponentID = "ComponentID";
    static constexpr const char *ControllerID = "ControllerID";
    static constexpr const char *FuncID = "FuncID";
    static constexpr const char *DataSource = "DataSource";
    static constexpr const char *ReqData = "ReqData";
    static constexpr const char *RspData = "RspData";
    // The one data source there is.
    static constexpr const char *NewsDataSource = "NEWS";

    // The envelope with the six entries in the order above.
    static base::Dict encapMsg(const std::string &componentID, const std::string &controllerID,
                               const std::string &functionID, const std::string &dataSource,
                               base::Dict reqData, base::Dict rspData);
};
