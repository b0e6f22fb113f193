#include "peers/RecognitionPeer.h"

#include <FLAC/stream_decoder.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace peers {

namespace {

struct Decoding {
    const std::string &bytes;
    size_t at = 0;
    FlacStream stream;
    bool failed = false;
};

FLAC__StreamDecoderReadStatus readBytes(const FLAC__StreamDecoder *, FLAC__byte buffer[], size_t *bytes,
                                        void *data) {
    auto &d = *static_cast<Decoding *>(data);
    const size_t n = std::min(*bytes, d.bytes.size() - d.at);
    std::memcpy(buffer, d.bytes.data() + d.at, n);
    d.at += n;
    *bytes = n;
    return n ? FLAC__STREAM_DECODER_READ_STATUS_CONTINUE : FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM;
}

FLAC__StreamDecoderWriteStatus writeFrame(const FLAC__StreamDecoder *, const FLAC__Frame *frame,
                                          const FLAC__int32 *const buffer[], void *data) {
    auto &d = *static_cast<Decoding *>(data);
    for (unsigned i = 0; i < frame->header.blocksize; ++i)
        for (unsigned c = 0; c < frame->header.channels; ++c)
            d.stream.samples.push_back(int16_t(buffer[c][i]));
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void readMetadata(const FLAC__StreamDecoder *, const FLAC__StreamMetadata *block, void *data) {
    FlacStream &s = static_cast<Decoding *>(data)->stream;
    switch (block->type) {
    case FLAC__METADATA_TYPE_STREAMINFO:
        s.sampleRate = block->data.stream_info.sample_rate;
        s.channels = block->data.stream_info.channels;
        s.bitsPerSample = block->data.stream_info.bits_per_sample;
        s.totalSamples = block->data.stream_info.total_samples;
        return;
    case FLAC__METADATA_TYPE_VORBIS_COMMENT:
        s.blocks.push_back("VORBIS_COMMENT");
        for (unsigned i = 0; i < block->data.vorbis_comment.num_comments; ++i) {
            const auto &entry = block->data.vorbis_comment.comments[i];
            s.comments.emplace_back(reinterpret_cast<const char *>(entry.entry), entry.length);
        }
        return;
    case FLAC__METADATA_TYPE_PADDING:
        s.blocks.push_back("PADDING");
        s.paddingLength = block->length;
        return;
    default:
        s.blocks.push_back(FLAC__MetadataTypeString[block->type]);
    }
}

void noteError(const FLAC__StreamDecoder *, FLAC__StreamDecoderErrorStatus, void *data) {
    static_cast<Decoding *>(data)->failed = true;
}

std::string headerValue(const std::string &head, const std::string &name) {
    std::string lower = head;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    std::string key = "\r\n" + name + ":";
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    const size_t at = lower.find(key);
    if (at == std::string::npos)
        return {};
    size_t from = at + key.size();
    while (from < head.size() && head[from] == ' ')
        ++from;
    return head.substr(from, head.find("\r\n", from) - from);
}

} // namespace

FlacStream decodeFlac(const std::string &bytes) {
    Decoding d{bytes};
    FLAC__StreamDecoder *decoder = FLAC__stream_decoder_new();
    FLAC__stream_decoder_set_metadata_respond_all(decoder);
    if (FLAC__stream_decoder_init_stream(decoder, readBytes, nullptr, nullptr, nullptr, nullptr, writeFrame,
                                         readMetadata, noteError,
                                         &d) == FLAC__STREAM_DECODER_INIT_STATUS_OK) {
        const bool read = FLAC__stream_decoder_process_until_end_of_stream(decoder);
        d.stream.decoded = read && !d.failed && d.stream.sampleRate != 0;
        FLAC__stream_decoder_finish(decoder);
    }
    FLAC__stream_decoder_delete(decoder);
    return d.stream;
}

std::vector<FaultPeer::Step> RecognitionPeer::replying(const std::string &body) {
    return {FaultPeer::send(
                "HTTP/1.1 200 OK\r\nContent-Type: application/json; charset=utf-8\r\nContent-Length: " +
                std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body),
            FaultPeer::close()};
}

std::vector<FaultPeer::Step> RecognitionPeer::closingMidReply(const std::string &body) {
    return {FaultPeer::send(
                "HTTP/1.1 200 OK\r\nContent-Type: application/json; charset=utf-8\r\nContent-Length: " +
                std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
                body.substr(0, body.size() / 2)),
            FaultPeer::close()};
}

std::string RecognitionPeer::refusedAddress() {
    // A port the kernel just handed out and nobody listens on any more.
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len);
    ::close(fd);
    return "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port));
}

std::string RecognitionPeer::address() const {
    return "http://127.0.0.1:" + std::to_string(peer_.port());
}

std::vector<RecognitionPeer::Upload> RecognitionPeer::uploads() {
    const std::vector<std::string> heads = peer_.requests(), bodies = peer_.bodies();
    std::vector<Upload> out;
    for (size_t i = 0; i < heads.size() && i < bodies.size(); ++i) {
        const std::string &head = heads[i];
        const std::string line = head.substr(0, head.find("\r\n"));
        const size_t space = line.find(' '), end = line.rfind(' ');
        const std::string target = line.substr(space + 1, end - space - 1);
        const size_t question = target.find('?');
        Upload upload{line.substr(0, space), target.substr(0, question),
                      question == std::string::npos ? "" : target.substr(question + 1),
                      headerValue(head, "Content-Type"), decodeFlac(bodies[i])};
        out.push_back(std::move(upload));
    }
    return out;
}

} // namespace peers
