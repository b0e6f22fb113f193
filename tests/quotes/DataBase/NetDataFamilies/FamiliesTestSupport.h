#pragma once

#include "DataBase/ComAPI.h"
#include "DataBase/NetData/NetDataCenter.h"
#include "DataBase/NetData/RequestPosItem.h"
#include "base/Data.h"
#include "base/FileManager.h"
#include "base/Paths.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// Keeps the request records the message layer hands over.
class RecordingCoordinator : public base::Object, public NetDataCenterDelegate {
public:
    base::Opt<void> MakeRequestGroup(const QuoteRequestRecord &record) override {
        records.push_back(record);
        return {};
    }
    std::vector<QuoteRequestRecord> records;
};

// Writes a body with the codec's writers.
class Body {
public:
    Body &i8(int32_t v) {
        ComAPI::WriteByte(data, v);
        return *this;
    }
    Body &i16(int32_t v) {
        ComAPI::WriteShort(data, v);
        return *this;
    }
    Body &i24(int32_t v) {
        i16(v & 0xFFFF);
        return i8((v >> 16) & 0xFF);
    }
    Body &i32(int32_t v) {
        ComAPI::WriteInt(data, v);
        return *this;
    }
    Body &f32(float v) {
        ComAPI::WriteFloat(data, v);
        return *this;
    }
    Body &str(std::string_view v) {
        ComAPI::WriteString(data, v);
        return *this;
    }
    Body &raw(const Bytes &bytes) {
        data.append(bytes.data(), bytes.size());
        return *this;
    }
    Bytes bytes() const { return data.vector(); }
    // The reply frame of this body.
    Bytes frame(int type = 2955) const {
        Body whole;
        whole.i8(1).i16(type).i16(0).i16(int32_t(data.length()));
        whole.data.append(data);
        return whole.data.vector();
    }

    base::Data data;
};

// A reply frame without a body.
inline Bytes emptyFrame(int type = 2955) {
    return Body().frame(type);
}

// A message layer whose requests go to a recording coordinator.
class FamilyTest : public ::testing::Test {
protected:
    void SetUp() override {
        forgetStoredFiles();
        center = NetDataCenter::create();
        center->theDelegate = coordinator;
    }
    void TearDown() override { forgetStoredFiles(); }

    // Replies stored by one test must not reach the next.
    static void forgetStoredFiles() {
        base::FileManager::remove(base::Paths::join(base::Paths::documents(), "data"));
    }

    const QuoteRequestRecord &lastRecord() const { return coordinator->records.back(); }
    // The body of the last request handed over.
    Bytes lastBody() const {
        if (coordinator->records.empty())
            return {};
        const Bytes &data = lastRecord().data.vector();
        return Bytes(data.begin() + 7, data.end());
    }
    int lastType() const { return coordinator->records.empty() ? 0 : lastRecord().reqType; }

    base::Ref<RecordingCoordinator> coordinator = base::make<RecordingCoordinator>();
    base::Ref<NetDataCenter> center;
};

// A pack for `code` at position `pos`.
inline base::Ref<RequestPosItem> packAt(const std::string &code, int32_t pos, int32_t tag = 0,
                                        int32_t reqCount = 0) {
    auto pack = base::make<RequestPosItem>(code);
    pack->pos = pos;
    pack->tag = tag;
    pack->reqCount = reqCount;
    return pack;
}

// The reply parameters carrying a pack (and a record).
inline base::Ref<ReqParams> packParams(const base::Ref<RequestPosItem> &pack,
                                       const base::Ref<base::Object> &rspInfo = nullptr) {
    auto params = base::make<ReqParams>();
    params->setObject("pack", pack);
    if (rspInfo)
        params->setObject("rspInfo", rspInfo);
    return params;
}

template <class T> base::Ref<T> itemAs(const NetDataCenter::PackList &list, size_t i) {
    return i < list.size() ? std::dynamic_pointer_cast<T>(list[i]) : nullptr;
}
