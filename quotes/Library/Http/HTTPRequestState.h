#pragma once

#include "HTTPRequest.h"

#include "net/HttpReadStream.h"

#include <mutex>
#include <optional>
#include <string>
#include <vector>

// A kept-alive connection: who opened it, who uses it now, when it expires, and the connection
// cache that holds its socket (entries never trade connections).
struct HTTPRequest::Connection {
    long id = 0;
    std::string host;
    int port = 0;
    std::string scheme;
    std::optional<unsigned long> request;
    base::Ref<net::HttpReadStream> stream;
    std::optional<double> expires;
    base::Ref<net::HttpConnectionCache> cache = base::make<net::HttpConnectionCache>();
};

// What every request shares, made once.
struct HTTPRequestClassState {
    std::recursive_mutex connectionsLock, progressLock, sessionCookieLock, sessionCredentialLock,
        delegateAuthenticationLock;
    std::mutex bandwidthLock, classLock;

    std::vector<base::Ref<HTTPRequest::Connection>> connections;
    long connectionCounter = 0;
    unsigned long requestIdCounter = 0;
    int runningStreams = 0;
    bool shouldUpdateNetworkActivityIndicator = true;
    // On the clock's monotonic scale.
    double lastStreamStopped = 0;
    bool indicatorCheckPending = false;

    double defaultTimeOutSeconds = 10.0;
    std::optional<std::string> defaultUserAgent;

    // Throttling, under bandwidthLock.
    unsigned long maxBandwidthPerSecond = 0;
    unsigned long bandwidthUsedInLastSecond = 0;
    std::optional<double> bandwidthMeasurementDate;
    std::vector<unsigned long> bandwidthUsageTracker;
    unsigned long averageBandwidthUsedPerSecond = 0;
    std::optional<double> throttleWakeUpTime;
    bool limitBandwidthOnlyOnWWAN = false;
    bool isBandwidthThrottledForWWAN = false;

    base::Ref<base::Error> timedOut, authenticationNeeded, cancelled, badURL, tooManyRedirects;

    static HTTPRequestClassState &shared();
};
