#include "HTTPRequest.h"

#include "HTTPRequestState.h"
#include "Reachability.h"

#include "base/Clock.h"
#include "base/NotificationCenter.h"
#include "base/RunLoop.h"
#include "base/Thread.h"
#include "ui/Application.h"

#include <numeric>

namespace {

double wallNow() {
    return base::Clock::current().now();
}

double monotonicNow() {
    return base::Clock::current().monotonic();
}

// Delay before the activity indicator goes: back-to-back requests keep it showing.
constexpr double indicatorHideDelay = 0.5;
// The mobile-network limit, bytes per second.
constexpr unsigned long wwanLimit = 14800;

bool throttlingApplies(const HTTPRequestClassState &s) {
    return s.isBandwidthThrottledForWWAN || (!s.limitBandwidthOnlyOnWWAN && s.maxBandwidthPerSecond > 0);
}

// While the indicator shows and a stream may have stopped, one check waits on the main thread: it
// hides the indicator once no stream has run for the delay. A stream still running when it fires
// asks for the next check when it stops, so a busy client wakes the main thread at most once per
// delay rather than for every request. Called with connectionsLock held.
void checkNetworkActivityIndicatorAfter(double delay) {
    static auto *owner = new base::Ref<base::Object>(base::make<base::Object>());
    HTTPRequestClassState::shared().indicatorCheckPending = true;
    auto &loop = base::RunLoop::main();
    loop.cancelPerforms(owner->get(), "hideNetworkActivityIndicatorIfNeeded");
    loop.performAfter(delay, base::Action(*owner, "hideNetworkActivityIndicatorIfNeeded", [](base::Object *) {
                          auto &s = HTTPRequestClassState::shared();
                          std::lock_guard guard(s.connectionsLock);
                          const double left = s.lastStreamStopped + indicatorHideDelay - monotonicNow();
                          if (s.runningStreams == 0 && left > 0) {
                              checkNetworkActivityIndicatorAfter(left);
                              return;
                          }
                          s.indicatorCheckPending = false;
                          if (s.runningStreams == 0)
                              ui::Application::shared().setNetworkActivityIndicatorVisible(false);
                      }));
}

void checkNetworkActivityIndicatorOnMain(bool show) {
    base::performOnMain(
        [show] {
            if (show)
                ui::Application::shared().setNetworkActivityIndicatorVisible(true);
            std::lock_guard guard(HTTPRequestClassState::shared().connectionsLock);
            checkNetworkActivityIndicatorAfter(indicatorHideDelay);
        },
        base::Thread::isMain());
}

} // namespace

// Progress reports reach their receivers on the main thread, read again from the request there, so
// that a receiver cleared meanwhile hears nothing.

bool HTTPRequest::hasProgressReceiver(bool upload) const {
    std::lock_guard guard(cancelledLock_);
    return !(upload ? uploadProgressDelegate_ : downloadProgressDelegate_).expired();
}

template <class Op> void HTTPRequest::deliverToQueueAndReceiver(bool upload, Op op) {
    if (!hasProgressReceiver(upload) && !queue())
        return;
    onMain([upload, op](HTTPRequest &r) {
        base::Ref<HTTPProgressDelegate> receiver;
        base::Ref<HTTPRequestDelegate> queue;
        {
            std::lock_guard guard(r.cancelledLock_);
            receiver = (upload ? r.uploadProgressDelegate_ : r.downloadProgressDelegate_).lock();
            queue = r.queue_;
        }
        if (auto *progress = dynamic_cast<HTTPProgressDelegate *>(queue.get()))
            op(*progress, r);
        if (receiver)
            op(*receiver, r);
    });
}

void HTTPRequest::deliverProgressFraction(bool upload, unsigned long long progress,
                                          unsigned long long total) {
    if (!hasProgressReceiver(upload))
        return;
    const float fraction = total ? float(double(progress) / double(total)) : 0.0f;
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.progressLock);
    onMain([upload, fraction](HTTPRequest &r) {
        base::Ref<HTTPProgressDelegate> receiver;
        {
            std::lock_guard guard(r.cancelledLock_);
            receiver = (upload ? r.uploadProgressDelegate_ : r.downloadProgressDelegate_).lock();
        }
        if (receiver)
            receiver->setProgress(fraction);
    });
}

void HTTPRequest::updateProgressIndicators() {
    if (isHEADPreRequest_ || (!showAccurateProgress_ && !(complete_ && !updatedProgress_)))
        return;
    updateUploadProgress();
    updateDownloadProgress();
}

void HTTPRequest::updateDownloadProgress() {
    if (!haveResponseHeaders_ || needsRedirect_ || restartingDownload_ || (contentLength_ == 0 && !complete_))
        return;
    const unsigned long long bytesSoFar = totalBytesRead_ + partialDownloadSize_;
    long long amount = 1;
    if (showAccurateProgress_ && contentLength_ > 0) {
        amount = (long long)(bytesSoFar - lastBytesRead_);
        if (amount == 0)
            return;
    } else {
        if (updatedProgress_)
            return;
        updatedProgress_ = true;
    }
    deliverToQueueAndReceiver(
        false, [amount](HTTPProgressDelegate &d, HTTPRequest &r) { d.requestDidReceiveBytes(r, amount); });
    // An empty or unknown-length body counts as whole once complete: never 0 of 0.
    const unsigned long long total = contentLength_ + partialDownloadSize_;
    if (total > 0)
        deliverProgressFraction(false, bytesSoFar, total);
    else
        deliverProgressFraction(false, complete_ ? 1 : 0, 1);
    if (bytesReceivedBlock_) {
        auto block = bytesReceivedBlock_;
        onMain([block, amount, total](HTTPRequest &) { block(amount, total); });
    }
    lastBytesRead_ = bytesSoFar;
}

void HTTPRequest::updateUploadProgress() {
    if (isCancelled() || totalBytesSent_ == 0)
        return;
    if (uploadBufferSize_ == 0 && totalBytesSent_ != postLength_) {
        uploadBufferSize_ = totalBytesSent_;
        incrementUploadSizeBy(-(long long)uploadBufferSize_);
    }
    long long amount = 1;
    if (showAccurateProgress_) {
        if (totalBytesSent_ != postLength_ && lastBytesSent_ == 0)
            return;
        amount = (long long)totalBytesSent_ - (long long)lastBytesSent_;
    } else {
        updatedProgress_ = true;
    }
    if (amount == 0)
        return;
    deliverToQueueAndReceiver(
        true, [amount](HTTPProgressDelegate &d, HTTPRequest &r) { d.requestDidSendBytes(r, amount); });
    const unsigned long long buffered = std::min(uploadBufferSize_, totalBytesSent_);
    if (postLength_ > buffered)
        deliverProgressFraction(true, totalBytesSent_ - buffered, postLength_ - buffered);
    else
        deliverProgressFraction(true, 1, 1);
    if (bytesSentBlock_) {
        auto block = bytesSentBlock_;
        unsigned long long total = postLength_;
        onMain([block, amount, total](HTTPRequest &) { block(amount, total); });
    }
}

void HTTPRequest::removeUploadProgressSoFar() {
    const long long amount = -(long long)totalBytesSent_;
    deliverToQueueAndReceiver(
        true, [amount](HTTPProgressDelegate &d, HTTPRequest &r) { d.requestDidSendBytes(r, amount); });
    deliverProgressFraction(true, 0, postLength_ ? postLength_ : 1);
    if (bytesSentBlock_) {
        auto block = bytesSentBlock_;
        unsigned long long total = postLength_;
        onMain([block, amount, total](HTTPRequest &) { block(amount, total); });
    }
}

void HTTPRequest::incrementDownloadSizeBy(long long amount) {
    deliverToQueueAndReceiver(false, [amount](HTTPProgressDelegate &d, HTTPRequest &r) {
        d.requestIncrementDownloadSizeBy(r, amount);
    });
    if (downloadSizeIncrementedBlock_) {
        auto block = downloadSizeIncrementedBlock_;
        onMain([block, amount](HTTPRequest &) { block(amount); });
    }
}

void HTTPRequest::incrementUploadSizeBy(long long amount) {
    deliverToQueueAndReceiver(true, [amount](HTTPProgressDelegate &d, HTTPRequest &r) {
        d.requestIncrementUploadSizeBy(r, amount);
    });
    if (uploadSizeIncrementedBlock_) {
        auto block = uploadSizeIncrementedBlock_;
        onMain([block, amount](HTTPRequest &) { block(amount); });
    }
}

// Bandwidth: counted per one-second period; a request that overshoots sleeps past the end of the
// period by the fraction it overshot, with its stream unscheduled.

bool HTTPRequest::isBandwidthThrottled() {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.bandwidthLock);
    return throttlingApplies(s);
}

unsigned long HTTPRequest::maxBandwidthPerSecond() {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.bandwidthLock);
    return s.maxBandwidthPerSecond;
}

void HTTPRequest::setMaxBandwidthPerSecond(unsigned long bytes) {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.bandwidthLock);
    s.maxBandwidthPerSecond = bytes;
}

void HTTPRequest::incrementBandwidthUsedInLastSecond(unsigned long bytes) {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.bandwidthLock);
    s.bandwidthUsedInLastSecond += bytes;
}

unsigned long HTTPRequest::averageBandwidthUsedPerSecond() {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.bandwidthLock);
    return s.averageBandwidthUsedPerSecond;
}

std::optional<double> HTTPRequest::throttleWakeUpTime() {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.bandwidthLock);
    return s.throttleWakeUpTime;
}

void HTTPRequest::recordBandwidthUsage() {
    auto &s = HTTPRequestClassState::shared();
    if (s.bandwidthUsedInLastSecond == 0) {
        s.bandwidthUsageTracker.clear();
    } else {
        double t = s.bandwidthMeasurementDate ? *s.bandwidthMeasurementDate - wallNow() : 0;
        while (!s.bandwidthUsageTracker.empty() && (t < 0 || s.bandwidthUsageTracker.size() > 5)) {
            s.bandwidthUsageTracker.erase(s.bandwidthUsageTracker.begin());
            t += 1;
        }
    }
    s.bandwidthUsageTracker.push_back(s.bandwidthUsedInLastSecond);
    s.bandwidthMeasurementDate = wallNow() + 1;
    s.bandwidthUsedInLastSecond = 0;
    const auto &record = s.bandwidthUsageTracker;
    s.averageBandwidthUsedPerSecond =
        (unsigned long)(std::accumulate(record.begin(), record.end(), 0ull) / record.size());
}

void HTTPRequest::measureBandwidthUsage() {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.bandwidthLock);
    if (!s.bandwidthMeasurementDate || *s.bandwidthMeasurementDate <= wallNow())
        recordBandwidthUsage();
    if (throttlingApplies(s) && s.maxBandwidthPerSecond > 0 &&
        s.bandwidthUsedInLastSecond > s.maxBandwidthPerSecond)
        s.throttleWakeUpTime =
            *s.bandwidthMeasurementDate +
            double(s.bandwidthUsedInLastSecond - s.maxBandwidthPerSecond) / double(s.maxBandwidthPerSecond);
}

unsigned long HTTPRequest::maxUploadReadLength() {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.bandwidthLock);
    unsigned long length = s.maxBandwidthPerSecond / 4;
    if (s.maxBandwidthPerSecond > 0 && s.bandwidthUsedInLastSecond + length > s.maxBandwidthPerSecond)
        length = s.bandwidthUsedInLastSecond >= s.maxBandwidthPerSecond
                     ? 0
                     : s.maxBandwidthPerSecond - s.bandwidthUsedInLastSecond;
    if (length == 0 || !s.bandwidthMeasurementDate || *s.bandwidthMeasurementDate <= wallNow())
        s.throttleWakeUpTime = s.bandwidthMeasurementDate;
    return length;
}

bool HTTPRequest::throttleWakeUpPending() const {
    auto wake = throttleWakeUpTime();
    return wake && *wake > wallNow() && isBandwidthThrottled();
}

size_t HTTPRequest::throttledReadSize(size_t size) const {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.bandwidthLock);
    if (!throttlingApplies(s) || s.maxBandwidthPerSecond == 0)
        return size;
    if (s.bandwidthUsedInLastSecond > s.maxBandwidthPerSecond)
        return 1;
    size_t quarter = (s.maxBandwidthPerSecond - s.bandwidthUsedInLastSecond) / 4;
    return std::max<size_t>(1, std::min(size, quarter));
}

void HTTPRequest::performThrottling() {
    if (!readStream_)
        return;
    measureBandwidthUsage();
    if (isBandwidthThrottled()) {
        auto wake = throttleWakeUpTime();
        if (!wake)
            return;
        if (*wake > wallNow()) {
            if (readStreamIsScheduled_)
                unscheduleReadStream();
        } else if (!readStreamIsScheduled_) {
            scheduleReadStream();
        }
    } else if (!readStreamIsScheduled_) {
        scheduleReadStream();
    }
}

// The mobile-network limit follows the reachability of the Internet at large.

namespace {

struct WWANWatch : base::Object {
    base::Ref<Reachability> reachability;
};

base::Ref<WWANWatch> &wwanWatch() {
    static base::Ref<WWANWatch> *watch = new base::Ref<WWANWatch>;
    return *watch;
}

void reachabilityChanged() {
    auto &s = HTTPRequestClassState::shared();
    auto watch = wwanWatch();
    bool wwan =
        watch && watch->reachability && watch->reachability->currentReachabilityStatus() == ReachableViaWWAN;
    std::lock_guard guard(s.bandwidthLock);
    s.isBandwidthThrottledForWWAN = wwan;
}

} // namespace

void HTTPRequest::setShouldThrottleBandwidthForWWAN(bool throttle) {
    if (throttle) {
        throttleBandwidthForWWANUsingLimit(wwanLimit);
        return;
    }
    if (auto watch = std::exchange(wwanWatch(), nullptr)) {
        base::NotificationCenter::shared().removeObserver(watch.get());
        watch->reachability->stopNotifier();
    }
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.bandwidthLock);
    s.maxBandwidthPerSecond = 0;
    s.limitBandwidthOnlyOnWWAN = false;
    s.isBandwidthThrottledForWWAN = false;
}

void HTTPRequest::throttleBandwidthForWWANUsingLimit(unsigned long limit) {
    auto &s = HTTPRequestClassState::shared();
    {
        std::lock_guard guard(s.bandwidthLock);
        s.limitBandwidthOnlyOnWWAN = true;
        s.maxBandwidthPerSecond = limit;
    }
    if (!wwanWatch()) {
        auto watch = base::make<WWANWatch>();
        watch->reachability = Reachability::reachabilityForInternetConnection();
        watch->reachability->startNotifier();
        base::NotificationCenter::shared().addObserver(
            watch, kReachabilityChangedNotification,
            [](const base::Notification &) { reachabilityChanged(); });
        wwanWatch() = watch;
    }
    reachabilityChanged();
}

// The network-activity indicator shows while any stream is scheduled, and goes half a second after
// the last one stops, unless another has started meanwhile.

void HTTPRequest::showNetworkActivityIndicator() {
    // Called with connectionsLock held, under which the hide check also runs: an indicator showing
    // now stays, so only a hidden one needs the main thread. Showing starts a check afresh.
    if (ui::Application::shared().networkActivityIndicatorVisible())
        return;
    checkNetworkActivityIndicatorOnMain(true);
}

void HTTPRequest::hideNetworkActivityIndicatorAfterDelay() {
    // Called with connectionsLock held when the last stream stops.
    auto &s = HTTPRequestClassState::shared();
    s.lastStreamStopped = monotonicNow();
    if (!s.indicatorCheckPending) {
        s.indicatorCheckPending = true;
        checkNetworkActivityIndicatorOnMain(false);
    }
}
