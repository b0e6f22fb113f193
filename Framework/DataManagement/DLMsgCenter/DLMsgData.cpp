#include "DataManagement/DLMsgCenter/DLMsgData.h"

base::Dict DLMsgData::encapMsg(const std::string &componentID, const std::string &controllerID,
                               const std::string &functionID, const std::string &dataSource,
                               base::Dict reqData, base::Dict rspData) {
    return base::Dict{{ComponentID, componentID},    {ControllerID, controllerID},
                      {FuncID, functionID},          {DataSource, dataSource},
                      {ReqData, std::move(reqData)}, {RspData, std::move(rspData)}};
}
