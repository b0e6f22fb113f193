#pragma once

#include "DataBase/NetData/NetDataCenter.h"
#include "base/Object.h"

#include <vector>

// The coordinator of the one quote connection. So far it owns the message layer and keeps the
// request records the layer hands over, in the order they came.
class DataBase : public base::Object, public NetDataCenterDelegate {
public:
    // The process-wide coordinator, created and initialised on first use.
    static base::Ref<DataBase> sharedDataBase();

    // Creates the message layer with this object as its delegate.
    void initialize();

    base::Opt<void> MakeRequestGroup(const QuoteRequestRecord &record) override;

    const base::Ref<NetDataCenter> &IO_NetDataCenter() const { return m_netDataCenter; }
    const std::vector<QuoteRequestRecord> &m_RequestGroups() const { return m_requestGroups; }

private:
    base::Ref<NetDataCenter> m_netDataCenter;
    std::vector<QuoteRequestRecord> m_requestGroups;
};
