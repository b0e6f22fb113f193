#include "DataBase/DataBase.h"

base::Ref<DataBase> DataBase::sharedDataBase() {
    static const base::Ref<DataBase> instance = [] {
        auto dataBase = base::make<DataBase>();
        dataBase->initialize();
        return dataBase;
    }();
    return instance;
}

void DataBase::initialize() {
    m_netDataCenter = NetDataCenter::create();
    m_netDataCenter->theDelegate = self<DataBase>();
}

base::Opt<void> DataBase::MakeRequestGroup(const QuoteRequestRecord &record) {
    m_requestGroups.push_back(record);
    return {};
}
