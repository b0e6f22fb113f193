#pragma once

#include "base/Error.h"
#include "base/OperationQueue.h"
#include "base/Value.h"

#include <mutex>
#include <optional>
#include <string>

class HTTPRequest;

// What a recognition operation reports, on the operation's own thread.
class RequestOperationDelegate {
public:
    virtual ~RequestOperationDelegate() = default;
    // The recognised text, never empty.
    virtual void didFinishRequest(const std::string &text) = 0;
    // The client's error (nothing when the reply was at fault) and the reason text.
    virtual void requestError(const base::Ref<base::Error> &error, const std::string &reason) = 0;
};

// One recognition: an operation for an operation queue that posts the FLAC recording synchronously
// on the queue's thread to the speech service the bundle's ServerConfig names, and reports exactly
// one outcome unless it was cancelled (a missing service is a RequestFailedReason). Reason texts:
// RequestFailedReason (the client failed), NotParsedReason (the reply is not a JSON object, or an empty one),
// NoHypothesesReason
// ("hypotheses" not a non-empty array), NoUtteranceReason (its first element is not an object
// with a non-empty "utterance" text).
class RequestOperation : public base::Operation {
public:
    static constexpr int SpeechUploadType = 0;
    static constexpr const char *RecognizePath = "/speech-api/v1/recognize";
    static constexpr const char *RecognizeQuery = "xjerr=1&client=chromium&lang=zh-CN";
    static constexpr const char *FlacContentType = "audio/x-flac; rate=16000";
    static constexpr const char *RequestFailedReason = "请求失败，错误代码(100)";
    static constexpr const char *NotParsedReason = "不能识别，错误代码(101)";
    static constexpr const char *NoHypothesesReason = "不能识别，错误代码(102)";
    static constexpr const char *NoUtteranceReason = "不能识别，错误代码(103)";

    // `dictContent` is kept and not read; only SpeechUploadType does anything.
    RequestOperation(std::optional<base::Dict> dictContent, base::Weak<RequestOperationDelegate> delegate,
                     int type);
    ~RequestOperation() override;

    void main() override;
    // Also cancels the running request.
    void cancel() override;
    void uploadAudioToGoogle(const std::string &address);
    // Cancels the HTTP request when there is one and it has not finished.
    void requestCancel();

    // The speech service of the bundle's ServerConfig, nothing when it names none.
    static std::optional<std::string> serviceAddress();

private:
    void reportError(const base::Ref<base::Error> &error, const std::string &reason);
    static const char *checkReply(const std::optional<std::string> &text, std::string &utterance);

    base::Weak<RequestOperationDelegate> delegate_;
    int _type;
    std::optional<base::Dict> dictContent_;
    std::mutex requestLock_;
    base::Ref<HTTPRequest> httpRequest_;
};
