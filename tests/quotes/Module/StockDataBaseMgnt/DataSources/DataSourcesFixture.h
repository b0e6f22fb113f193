#pragma once

#include "CoordinatorFixture.h"

#include "DataBase/ComAPI.h"

namespace datasources {

// The coordinator of a finished login as the process-wide one, so that data sources created by a
// test send through it to the loopback quote server.
class DataSourcesTest : public coordinator::CoordinatorTest {
protected:
    DataSourcesTest() { DataBase::setSharedDataBase(db); }
    ~DataSourcesTest() override { DataBase::setSharedDataBase(nullptr); }
};

} // namespace datasources
