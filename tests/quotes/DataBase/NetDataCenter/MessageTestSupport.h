#pragma once

#include "DataBase/ComAPI.h"
#include "DataBase/NetData/NetDataCenter.h"
#include "base/Data.h"
#include "base/FileManager.h"
#include "base/Paths.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// Stands in for the connection coordinator: keeps the request records and the tips.
class RecordingCoordinator : public base::Object, public NetDataCenterDelegate {
public:
    base::Opt<void> MakeRequestGroup(const QuoteRequestRecord &record) override {
        records.push_back(record);
        return {};
    }
    base::Opt<bool> isHQConnected() override { return connected; }
    base::Opt<void> ShowTipBox(const std::string &text) override {
        tips.push_back(text);
        return {};
    }

    std::vector<QuoteRequestRecord> records;
    std::vector<std::string> tips;
    bool connected = true;
};

// A requester object.
class RecordingRequester : public base::Object, public DataPoolDelegate {
public:
    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &) override {
        types.push_back(reqType);
    }
    std::vector<int32_t> types;
};

inline std::vector<uint8_t> bytesOf(const base::Data &data) {
    return data.vector();
}

inline std::vector<uint8_t> concat(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> all;
    for (const auto &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Builds a reply body with the codec's writers.
class Body {
public:
    Body &byte(int32_t v) {
        ComAPI::WriteByte(data, v);
        return *this;
    }
    Body &shortValue(int32_t v) {
        ComAPI::WriteShort(data, v);
        return *this;
    }
    Body &intValue(int32_t v) {
        ComAPI::WriteInt(data, v);
        return *this;
    }
    Body &longLong(int64_t v) {
        ComAPI::WriteLongLong(data, v);
        return *this;
    }
    Body &string(std::string_view v) {
        ComAPI::WriteString(data, v);
        return *this;
    }
    Body &raw(const std::vector<uint8_t> &bytes) {
        data.append(bytes.data(), bytes.size());
        return *this;
    }

    base::Data data;
};

// A reply frame: the 7-byte header, or the 9-byte one of code tables, and the body.
inline base::Data replyFrame(int type, const base::Data &body, int attribute = 0, uint8_t seqID = 1) {
    base::Data frame;
    ComAPI::WriteByte(frame, seqID);
    ComAPI::WriteShort(frame, type);
    ComAPI::WriteShort(frame, attribute);
    if (type == 2956)
        ComAPI::WriteInt(frame, int32_t(body.length()));
    else
        ComAPI::WriteShort(frame, int32_t(body.length()));
    frame.append(body);
    return frame;
}

// A message layer whose requests go to a recording coordinator.
class MessageLayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        center = NetDataCenter::create();
        center->theDelegate = coordinator;
    }

    // The body of the only request handed over.
    std::vector<uint8_t> onlyRequestBody() {
        EXPECT_EQ(coordinator->records.size(), 1u);
        if (coordinator->records.empty())
            return {};
        const base::Data &data = coordinator->records.back().data;
        return std::vector<uint8_t>(data.bytes() + 7, data.bytes() + data.length());
    }

    base::Ref<RecordingCoordinator> coordinator = base::make<RecordingCoordinator>();
    base::Ref<NetDataCenter> center;
};
