#pragma once

#include "base/Object.h"
#include "base/Value.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The paging cursor and reply buffer of one incremental request. A requester keeps one per code
// (and period); the request builder marks it busy and carries it under "pack" of the request's
// parameters, and the reply parser marks it idle and fills it.
class RequestPosItem : public base::Object {
public:
    RequestPosItem() = default;
    explicit RequestPosItem(std::string code) : code(std::move(code)) {}

    std::string code;
    // Builders send nothing for a busy object.
    bool isIdle = true;
    int32_t pos = -1;
    int32_t savedPos = -1;
    int32_t reqNo = 0;
    bool isForwardReq = true;
    int32_t reqCount = 0;
    bool isRsp = false;
    // The records received so far: candles, minutes, ticks or other reply records.
    std::vector<base::Ref<base::Object>> rspArray;
    base::Dict rspDict;
    double updateTick = 0;
    int32_t tag = 0;
    base::Ref<base::Object> obj;

    // The first item of the list whose code is `code`.
    template <class T>
    static base::Ref<T> getItem(const std::vector<base::Ref<T>> &list, const std::string &code) {
        for (const auto &item : list)
            if (item && item->code == code)
                return item;
        return nullptr;
    }
    template <class T> static void setAllIdle(const std::vector<base::Ref<T>> &list) {
        for (const auto &item : list)
            if (item)
                item->isIdle = true;
    }
    // The request-state object among a request's parameters: `pack` is the entry stored under
    // "pack" (null when the parameters or the entry are missing); null when it is not one.
    static base::Ref<RequestPosItem> getPackFromDict(const base::Ref<base::Object> &pack);
};

// A request state that knows who asked. The requester owns the pack, so the pack does not retain
// it: once the requester is gone its replies have nobody to go to and are dropped.
class PackBase : public RequestPosItem {
public:
    PackBase() = default;
    explicit PackBase(std::string code) : RequestPosItem(std::move(code)) {}

    // The requester: an object implementing the reply callback, or a notification name.
    void setDelegate(const base::Ref<base::Object> &requester);
    void setDelegate(std::string notificationName);
    // The requester object, null when it is gone or the requester is a notification name.
    base::Ref<base::Object> delegateObject() const { return delegate_.lock(); }
    const std::string &delegateName() const { return delegateName_; }
    // No requester was given, or the requester object no longer exists.
    bool isDelegateGone() const;

private:
    base::Weak<base::Object> delegate_;
    std::string delegateName_;
};

// The intraday minutes of one code.
class MinLinePack : public PackBase {
public:
    MinLinePack() = default;
    explicit MinLinePack(std::string code) : PackBase(std::move(code)) {}

    // Minutes last saved to or read from the local intraday cache.
    int32_t readCount = 0;

    // Null for an invalid code; otherwise the first pack of the list with that code.
    static base::Ref<MinLinePack> getMinLinePack(const std::vector<base::Ref<MinLinePack>> &list,
                                                 const std::string &code);
    static base::Ref<MinLinePack> getMinLinePackFromDict(const base::Ref<base::Object> &pack);
};

// The candles of one code and period, with the state of forward batches and the local cache.
class KLinePack : public PackBase {
public:
    KLinePack(std::string code, int32_t ktype) : PackBase(std::move(code)), ktype(ktype) {}

    int32_t ktype = 0;
    // The oldest candle is held; nothing older exists.
    bool isGetFirstKLine = false;
    bool isRealForwardReq = false;
    int32_t rspCount = 0;
    int32_t rspFirstTime = 0;
    int32_t rspLastTime = 0;
    int32_t exrightPosOffset = 0;
    int32_t dataExrightType = 0;
    int32_t dataExrightDate = 0;
    // 1 ordinary request, 2 forward batch.
    int32_t reqMode = 1;
    int32_t reqForwardToDate = 0;
    int32_t reqForwardCount = 0;
    bool notifyOnGetAllData = false;
    // Local candle cache: 0 not tried yet, 1 read, 2 not readable.
    int32_t existLocalData = 0;
    int32_t localFirstTime = 0;
    int32_t localLastTime = 0;
    // The candle requester that issues follow-up requests; not retained.
    base::Weak<base::Object> manager;
    // Chart scroll offset and candle width kept for this code and period.
    int32_t koffset = 0;
    float ksize = 0;

    void clearRspData();
    // Whether the local candle cache may serve a request that does or does not page back.
    bool canReadLocalData(bool isForwardReq) const;
    // Whether a reply may be shown now rather than when a forward batch is complete.
    bool canProcessRsp() const;

    // Null for an invalid code; otherwise the first pack with that code and period.
    static base::Ref<KLinePack> getKLinePack(const std::vector<base::Ref<KLinePack>> &list,
                                             const std::string &code, int32_t ktype);
    static base::Ref<KLinePack> getKLinePackFromDict(const base::Ref<base::Object> &pack);

private:
    // The time of the first held candle; nothing when no candle is held.
    std::optional<int32_t> firstHeldTime() const;
};

// The index contribution of one market; `code` is the market prefix.
class IndexGXPack : public RequestPosItem {
public:
    using RequestPosItem::RequestPosItem;

    // Replies received for the current request.
    int32_t reqTimes = 0;
    // Both replies are in.
    bool isReady = false;

    // The pack of the index code's market; null when the code has no two-letter market prefix.
    static base::Ref<IndexGXPack> getIndexGXPack(const std::vector<base::Ref<IndexGXPack>> &list,
                                                 const std::string &indexCode);
    static base::Ref<IndexGXPack> getIndexGXPackFromDict(const base::Ref<base::Object> &pack);
};

// Request states by request number.
class RequestPosDict : public base::Object {
public:
    std::map<int32_t, base::Ref<RequestPosItem>> items;

    // Resets the item under `key` for a new request (creating it when missing) and returns it.
    base::Ref<RequestPosItem> initItem(int32_t key, const std::string &code, int32_t reqNo);
    base::Ref<RequestPosItem> item(int32_t reqNo) const;
    void setAllIdle();
};
