#pragma once

#include "peers/ChartFrameWriter.h"

#include "Common/FileFunc.h"
#include "DataBase/MarketTimes/MarketTimes.h"
#include "DataBase/NTDataPageHead.h"
#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/NetDataCenter.h"
#include "DataBase/NetData/RequestPosItem.h"
#include "DataBase/NetData/StkMinLineItem.h"
#include "Module/StockDataBaseMgnt/LocalFileFunc/LocalFileFunc.h"
#include "base/FileManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

// Keeps the request records the message layer hands over.
class ChartCoordinator : public base::Object, public NetDataCenterDelegate {
public:
    base::Opt<void> MakeRequestGroup(const QuoteRequestRecord &record) override {
        records.push_back(record);
        return {};
    }
    std::vector<QuoteRequestRecord> records;
};

class ChartRequester : public base::Object, public DataPoolDelegate {
public:
    void DataPoolCallBack(int32_t, const base::Ref<ReqParams> &) override {}
};

// A message layer with its own documents directory.
class ChartMessages : public ::testing::Test {
protected:
    void SetUp() override {
        home_ = base::FileManager::uniqueTemporaryPath();
        ::setenv("QV_HOME", home_.c_str(), 1);
        center = NetDataCenter::create();
        center->theDelegate = coordinator;
        center->IO_QuotesDate = 20120305;
    }
    void TearDown() override { std::filesystem::remove_all(home_); }

    // A plain reply frame around the body.
    static base::Data reply(int type, const base::Data &body, int attribute = 0) {
        base::Data frame;
        ComAPI::WriteByte(frame, 1);
        ComAPI::WriteShort(frame, type);
        ComAPI::WriteShort(frame, attribute);
        ComAPI::WriteShort(frame, int(body.length()));
        frame.append(body);
        return frame;
    }
    static base::Ref<ReqParams> paramsWith(const base::Ref<base::Object> &pack) {
        auto params = base::make<ReqParams>();
        params->setObject("pack", pack);
        return params;
    }
    // The body of the only request handed over.
    base::Data onlyRequestBody() const {
        EXPECT_EQ(coordinator->records.size(), 1u);
        if (coordinator->records.empty())
            return {};
        const base::Data &data = coordinator->records.back().data;
        return data.subdata(7, data.length() - 7);
    }
    uint16_t onlyRequestAttribute() const {
        auto head = NTDataPageHead::read(coordinator->records.back().data.span());
        return head ? head->attribute : 0xFFFF;
    }

    base::Ref<ChartCoordinator> coordinator = base::make<ChartCoordinator>();
    base::Ref<NetDataCenter> center;
    std::string home_;
};
