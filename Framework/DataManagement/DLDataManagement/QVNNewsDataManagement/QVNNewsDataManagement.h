#pragma once

#include "HTTPRequest.h"

#include "base/Object.h"
#include "base/Value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the news fetcher hands back: the envelope it was given, its "RspData" filled.
class QVNNewsDataManagementDelegate {
public:
    virtual ~QVNNewsDataManagementDelegate() = default;
    virtual void qvnNewsDataManagement_didResponseData(const base::Dict &envelope) = 0;
};

// The news fetcher behind the news bus, one per process, made and owned by the hub
// (DLDataManagement), which is its delegate. For each envelope it runs one HTTP GET against the
// news host, with no cache and no retry, reads the JSON reply into news records in the envelope's
// "RspData" and hands the envelope back; replies come back in the order the transfers end.
//
// "RspData" after a transfer: "successRsp" YES and the type's result key when the reader found
// what it needs (none when the document is unreadable or reports a server error), or "successRsp"
// NO and "failMsg" when the transfer failed. A response whose status lies outside 200–299 is a
// failure ("HTTP 404"), so that an error page never replaces what a screen shows. An address that
// is not http or https, does not parse, or a security code whose number part is shorter than two
// characters starts no transfer: the envelope fails on the next run-loop pass with the HTTP
// client's "Unable to create request (bad url?)". The board-menu request (3000) writes the three
// menu files and returns no result. A request type not listed is dropped without a reply.
//
// Every operation runs on the main thread; the readers are class operations on the body text, so
// that they can be fed any document.
class QVNNewsDataManagement : public base::Object, public HTTPRequestDelegate {
public:
    static constexpr const char *ColumnArrayPath = "wap/news/news/gaoduan/columnIndex.json";
    static constexpr const char *TopLineArrayPath = "wap/news/news/gaoduan/syxw/xwtt.json";
    static constexpr const char *MarketBoardPath = "wap/data/bkinfo.json";
    // Market prefix, last two characters of the number part, the number part.
    static constexpr const char *StockPathFormat = "wap/data/ipad/stock/%@/%@/%@/index.json";
    static constexpr const char *BadUrlMessage = "Unable to create request (bad url?)";

    // Result keys of "RspData".
    static constexpr const char *SuccessRsp = "successRsp";
    static constexpr const char *FailMsg = "failMsg";
    static constexpr const char *RspArray = "rspArray";
    static constexpr const char *RspNewsListInfo = "rspNewsListInfo";
    static constexpr const char *RspNewsContentInfo = "rspNewsContentInfo";
    static constexpr const char *RspStockNewsListInfo = "rspStockNewsListInfo";

    // The three board menu files in the documents directory, and the bundle list the first grows from.
    static constexpr const char *StockModelMenuFile = "StockModelMenu.plist";
    static constexpr const char *DDEModelMenuFile = "DDEModelMenu.plist";
    static constexpr const char *SectionModelMenuFile = "SectionModelMenu.plist";
    static constexpr const char *BoardRowName = "板块类";

    // Queues the envelope and starts its transfer; returns at once.
    void SendRequest(const base::Dict &envelope);

    base::Opt<void> requestFinished(HTTPRequest &request) override;
    base::Opt<void> requestFailed(HTTPRequest &request) override;

    // The news host's address with a final "/", from the bundle's server list.
    static std::string baseUrl();
    // The address a request fetches; nothing when the request can make none.
    static std::optional<std::string> urlForRequest(const base::Dict &reqData);
    // The date of a time text as yyyymmdd: its first ten characters without the hyphens; -1 for an
    // absent text, one shorter than ten characters or one whose date is not all digits.
    static int64_t getNumDateFromOTime(const std::optional<std::string> &otime);

    // Runs the reader of the request's type on a completed body (nothing when it did not decode).
    static void parseResponseData(const std::optional<std::string> &body, const base::Dict &reqData,
                                  base::Dict &rspData);
    // The board reply's reader: rewrites the menu files whose lists the reply holds.
    static void parseMarketBoard(const std::optional<std::string> &body);
    // Writes a big-order or sector menu: the server's rows without class ids 106 and 107, then the
    // fixed "板块类" row. An absent, non-array or empty list leaves the file as it is.
    static void saveDDEModel(const base::Value &list, const std::string &fileName);
    // One menu row per object of the list, in order.
    static base::Array getModelArrayFromJsonArray(const base::Array &list);

    // Envelopes whose transfer has not completed yet.
    size_t pendingRequestCount() const { return _requestQueue.size(); }
    int32_t lastSeqID() const { return _seqID; }

    base::Weak<QVNNewsDataManagementDelegate> delegate;

private:
    struct QueueEntry {
        base::Dict msgDict;
        int32_t seqID;
        base::Ref<HTTPRequest> request;
    };

    void requestData(const base::Dict &envelope, int32_t seqID);
    void reqAsyncHttp(const base::Url &url, int32_t tag);
    void processResponse(HTTPRequest &request, bool isFinished);
    // Fills the entry's reply through `fill`, hands the envelope back, then forgets the entry.
    void complete(int32_t seqID, bool success, const std::function<void(base::Dict &rspData)> &fill);
    QueueEntry *entryFor(int32_t seqID);

    int32_t _seqID = 0;
    std::vector<QueueEntry> _requestQueue;
};
