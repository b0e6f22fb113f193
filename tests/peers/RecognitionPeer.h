#pragma once

#include "peers/FaultPeer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace peers {

// A FLAC stream decoded with libFLAC's stream decoder, metadata in the order the stream has it.
struct FlacStream {
    bool decoded = false;
    unsigned sampleRate = 0, channels = 0, bitsPerSample = 0;
    uint64_t totalSamples = 0;
    // "VORBIS_COMMENT", "PADDING" … after the STREAMINFO.
    std::vector<std::string> blocks;
    // "NAME=value", in order.
    std::vector<std::string> comments;
    unsigned paddingLength = 0;
    // Interleaved, left then right.
    std::vector<int16_t> samples;
};
FlacStream decodeFlac(const std::string &bytes);

// The loopback speech-recognition service: an HTTP/1.1 server on 127.0.0.1 that keeps every upload
// and answers each from its script (a FaultPeer's).
class RecognitionPeer {
public:
    struct Upload {
        std::string method, path, query, contentType;
        FlacStream flac;
    };

    // A 200 reply with `body` as UTF-8 JSON, then the connection closed.
    static std::vector<FaultPeer::Step> replying(const std::string &body);
    // The reply head and half of `body`, then the connection closed.
    static std::vector<FaultPeer::Step> closingMidReply(const std::string &body);
    static std::vector<FaultPeer::Step> silent() { return {FaultPeer::silence()}; }
    // The address of a port nothing listens on: a service that is down.
    static std::string refusedAddress();

    explicit RecognitionPeer(std::vector<FaultPeer::Step> script) : peer_(std::move(script)) {}
    // "http://127.0.0.1:port": what the speech host setting names.
    std::string address() const;
    std::vector<Upload> uploads();

private:
    FaultPeer peer_;
};

} // namespace peers
