#include "RequestOperation.h"

#include "AudioRecorder/AudioRecorder.h"
#include "FormDataRequest.h"
#include "QXJsonParser.h"
#include "TemporaryFiles.h"

#include "Common/ServerConfig.h"

RequestOperation::RequestOperation(std::optional<base::Dict> dictContent,
                                   base::Weak<RequestOperationDelegate> delegate, int type)
    : delegate_(std::move(delegate)), _type(type), dictContent_(std::move(dictContent)) {}

RequestOperation::~RequestOperation() {
    requestCancel();
}

std::optional<std::string> RequestOperation::serviceAddress() {
    std::string address = ServerConfig::hostAddress(ServerConfig::SpeechServerKey);
    return address.empty() ? std::nullopt : std::optional(std::move(address));
}

void RequestOperation::main() {
    if (_type != SpeechUploadType || isCancelled())
        return;
    if (auto address = serviceAddress())
        uploadAudioToGoogle(*address);
    else
        reportError(nullptr, RequestFailedReason);
}

void RequestOperation::cancel() {
    base::Operation::cancel();
    requestCancel();
}

void RequestOperation::requestCancel() {
    std::lock_guard guard(requestLock_);
    if (httpRequest_ && !httpRequest_->isFinished())
        httpRequest_->cancel();
}

void RequestOperation::uploadAudioToGoogle(const std::string &address) {
    auto url = base::Url::parse(address + RecognizePath + "?" + RecognizeQuery);
    if (!url) {
        reportError(nullptr, RequestFailedReason);
        return;
    }
    auto request = FormDataRequest::requestWithURL(*url);
    request->addRequestHeader("Content-Type", FlacContentType);
    request->setRequestMethod("POST");
    request->appendPostDataFromFile(temporaryPath(AudioRecorder::FlacFileName));
    {
        std::lock_guard guard(requestLock_);
        httpRequest_ = request;
    }
    // A cancel that came before the request was kept reaches it here.
    if (isCancelled())
        return;
    request->startSynchronous();
    if (base::Ref<base::Error> error = request->error()) {
        reportError(error, RequestFailedReason);
        return;
    }
    std::string utterance;
    if (const char *reason = checkReply(request->responseString(), utterance)) {
        reportError(nullptr, reason);
        return;
    }
    if (auto delegate = delegate_.lock(); delegate && !isCancelled())
        delegate->didFinishRequest(utterance);
}

const char *RequestOperation::checkReply(const std::optional<std::string> &text, std::string &utterance) {
    QXJsonParser parser;
    std::optional<base::Value> reply = text ? parser.objectWithString(*text) : std::nullopt;
    if (!reply || !reply->dict() || reply->dict()->empty())
        return NotParsedReason;
    const base::Value hypotheses = (*reply)["hypotheses"];
    if (!hypotheses.array() || hypotheses.array()->empty())
        return NoHypothesesReason;
    const base::Value first = hypotheses[size_t(0)];
    const base::Value said = first.dict() ? first["utterance"] : base::Value();
    if (!said.string() || said.string()->empty())
        return NoUtteranceReason;
    utterance = *said.string();
    return nullptr;
}

void RequestOperation::reportError(const base::Ref<base::Error> &error, const std::string &reason) {
    if (auto delegate = delegate_.lock(); delegate && !isCancelled())
        delegate->requestError(error, reason);
}
