#include "DataManagement/DLDataManagement/QVNNewsDataManagement/QVNNewsDataManagement.h"

#include "DataManagement/DLDataManagement/DataInterface/QVNNewsDataInterface.h"
#include "DataManagement/DLMsgCenter/DLMsgData.h"

#include "Common/ServerConfig.h"
#include "Common/Util.h"
#include "base/Encoding.h"
#include "base/RunLoop.h"
#include "base/Str.h"

#include <algorithm>

namespace {

using Interface = QVNNewsDataInterface;

bool isKnownType(int64_t type) {
    switch (type) {
    case Interface::NewsColumnArrayType:
    case Interface::NewsTopLineArrayType:
    case Interface::NewsListType:
    case Interface::NewsContentType:
    case Interface::TodayInfoBombType:
    case Interface::StockNewsListType:
    case Interface::MarketBoardType:
        return true;
    default:
        return false;
    }
}

// The stock document's address; nothing when the number part cannot give its last two characters.
std::optional<std::string> stockUrl(const std::string &code) {
    std::string number = Util::getNumCode(code);
    if (number.size() < 2)
        return std::nullopt;
    return QVNNewsDataManagement::baseUrl() + base::str::format(QVNNewsDataManagement::StockPathFormat,
                                                                Util::getMarketCode(code),
                                                                number.substr(number.size() - 2), number);
}

// Only web addresses are fetched: the HTTP client would follow any scheme it can parse.
std::optional<base::Url> webUrl(const std::string &text) {
    std::optional<base::Url> url = base::Url::parse(text);
    if (!url || (url->scheme() != "http" && url->scheme() != "https") || url->host().empty())
        return std::nullopt;
    return url;
}

} // namespace

std::string QVNNewsDataManagement::baseUrl() {
    return ServerConfig::hostAddress(ServerConfig::NewsServerKey) + "/";
}

std::optional<std::string> QVNNewsDataManagement::urlForRequest(const base::Dict &reqData) {
    switch (reqData.get(Interface::ReqType).intValue()) {
    case Interface::NewsColumnArrayType:
        return baseUrl() + ColumnArrayPath;
    case Interface::NewsTopLineArrayType:
        return baseUrl() + TopLineArrayPath;
    case Interface::NewsListType:
        return reqData.get(Interface::NewsListUrl).stringValue();
    case Interface::NewsContentType:
        return reqData.get(Interface::NewsContentUrl).stringValue();
    case Interface::TodayInfoBombType:
    case Interface::StockNewsListType:
        return stockUrl(reqData.get(Interface::StockCode).stringValue());
    case Interface::MarketBoardType:
        return baseUrl() + MarketBoardPath;
    default:
        return std::nullopt;
    }
}

void QVNNewsDataManagement::SendRequest(const base::Dict &envelope) {
    int32_t seqID = ++_seqID;
    const base::Value reqData = envelope.get(DLMsgData::ReqData);
    if (!reqData.dict() || !isKnownType(reqData.dict()->get(Interface::ReqType).intValue()))
        return;
    _requestQueue.push_back({envelope, seqID, nullptr});
    requestData(envelope, seqID);
}

void QVNNewsDataManagement::requestData(const base::Dict &envelope, int32_t seqID) {
    std::optional<std::string> address = urlForRequest(*envelope.get(DLMsgData::ReqData).dict());
    std::optional<base::Url> url = address ? webUrl(*address) : std::nullopt;
    if (url) {
        reqAsyncHttp(*url, seqID);
        return;
    }
    // Completed on a later pass, as a transfer is, so that a requester never hears its reply
    // inside its own request call.
    base::Weak<QVNNewsDataManagement> weak = weakSelf<QVNNewsDataManagement>();
    base::RunLoop::current().performAfter(
        0, base::Action(weak, "failBadUrl", [weak, seqID](base::Object *) {
            if (auto self = weak.lock())
                self->complete(seqID, false, [](base::Dict &rsp) { rsp.set(FailMsg, BadUrlMessage); });
        }));
}

void QVNNewsDataManagement::reqAsyncHttp(const base::Url &url, int32_t tag) {
    base::Ref<HTTPRequest> request = HTTPRequest::requestWithURL(url);
    request->setTag(tag);
    request->setDelegate(weakSelf<QVNNewsDataManagement>());
    if (QueueEntry *entry = entryFor(tag))
        entry->request = request;
    request->startAsynchronous();
}

base::Opt<void> QVNNewsDataManagement::requestFinished(HTTPRequest &request) {
    processResponse(request, true);
    return {};
}

base::Opt<void> QVNNewsDataManagement::requestFailed(HTTPRequest &request) {
    processResponse(request, false);
    return {};
}

void QVNNewsDataManagement::processResponse(HTTPRequest &request, bool isFinished) {
    QueueEntry *entry = entryFor(request.tag());
    if (!entry || entry->request.get() != &request)
        return;
    int status = request.responseStatusCode();
    if (isFinished && (status < 200 || status > 299)) {
        complete(entry->seqID, false,
                 [status](base::Dict &rsp) { rsp.set(FailMsg, base::str::format("HTTP %d", status)); });
        return;
    }
    if (!isFinished) {
        base::Ref<base::Error> error = request.error();
        std::string message =
            error ? error->localizedDescription() : std::string("A connection failure occurred");
        complete(entry->seqID, false, [&message](base::Dict &rsp) { rsp.set(FailMsg, message); });
        return;
    }
    request.setResponseEncoding(uint32_t(base::Encoding::Utf8));
    std::optional<std::string> body = request.responseString();
    base::Dict reqData = *entry->msgDict.get(DLMsgData::ReqData).dict();
    complete(entry->seqID, true, [&](base::Dict &rsp) { parseResponseData(body, reqData, rsp); });
}

void QVNNewsDataManagement::complete(int32_t seqID, bool success,
                                     const std::function<void(base::Dict &rspData)> &fill) {
    QueueEntry *entry = entryFor(seqID);
    if (!entry)
        return;
    base::Dict envelope = entry->msgDict;
    base::Value *rsp = envelope.find(DLMsgData::RspData);
    if (!rsp || !rsp->dict())
        envelope.set(DLMsgData::RspData, base::Dict());
    base::Dict rspData = *envelope.find(DLMsgData::RspData)->dict();
    rspData.set(SuccessRsp, success);
    fill(rspData);
    if (auto hub = delegate.lock())
        hub->qvnNewsDataManagement_didResponseData(envelope);
    // Found again: the delivery may have sent further requests.
    std::erase_if(_requestQueue, [seqID](const QueueEntry &e) { return e.seqID == seqID; });
}

QVNNewsDataManagement::QueueEntry *QVNNewsDataManagement::entryFor(int32_t seqID) {
    auto it = std::find_if(_requestQueue.begin(), _requestQueue.end(),
                           [seqID](const QueueEntry &e) { return e.seqID == seqID; });
    return it == _requestQueue.end() ? nullptr : &*it;
}
