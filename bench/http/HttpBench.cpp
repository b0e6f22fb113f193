// Loopback GETs from nginx through HTTPRequest (asynchronous with delivery on the main thread, as
// the application runs it, and synchronous) against libcurl's easy interface on a reused
// connection; and inflating a gzip JSON body in 16 KB chunks through DataDecompressor against
// zlib's inflate on the same chunks. Compare each pair within the same run.
#include "DataDecompressor.h"
#include "HTTPRequest.h"
#include "peers/NginxPeer.h"

#include "base/RunLoop.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <zlib.h>

#include <memory>
#include <string>

namespace {

// Stopped, with its folder removed, when the program ends.
peers::NginxPeer &nginx() {
    static peers::NginxPeer server;
    static const bool filled = [] {
        server.writeFile("1k.bin", std::string(1024, 'k'));
        server.writeFile("10m.bin", std::string(10 << 20, 'm'));
        return true;
    }();
    (void)filled;
    return server;
}

std::string path(const benchmark::State &state) {
    return state.range(0) == 1 ? "/1k.bin" : "/10m.bin";
}

size_t size(const benchmark::State &state) {
    return state.range(0) == 1 ? 1024 : size_t(10 << 20);
}

void finish(benchmark::State &state) {
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size(state)));
}

// Inside the timed loop a request's body is checked by the count of bytes it read: taking it out
// with responseData() copies the whole body, which the libcurl side, reading into its own string,
// does not pay. The last body is checked byte for byte once the timing ends.
bool shortBody(const benchmark::State &state, const HTTPRequest &request) {
    return request.totalBytesRead() != size(state);
}

void checkLastBody(benchmark::State &state, const base::Ref<HTTPRequest> &request) {
    auto body = request ? request->responseData() : std::nullopt;
    char fill = state.range(0) == 1 ? 'k' : 'm';
    if (!body || body->toString() != std::string(size(state), fill))
        state.SkipWithError("wrong body");
}

void HTTPRequestAsynchronous(benchmark::State &state) {
    auto target = *base::Url::parse(nginx().url(path(state)));
    base::Ref<HTTPRequest> request;
    for (auto _ : state) {
        request = HTTPRequest::requestWithURL(target);
        bool done = false;
        request->setCompletionBlock([&] { done = true; });
        request->setFailedBlock([&] { done = true; });
        request->startAsynchronous();
        while (!done)
            base::RunLoop::main().runOnce(base::RunLoop::Default, 1);
        if (shortBody(state, *request))
            state.SkipWithError("short body");
    }
    checkLastBody(state, request);
    finish(state);
}

void HTTPRequestSynchronous(benchmark::State &state) {
    auto target = *base::Url::parse(nginx().url(path(state)));
    base::Ref<HTTPRequest> request;
    for (auto _ : state) {
        request = HTTPRequest::requestWithURL(target);
        request->startSynchronous();
        if (shortBody(state, *request))
            state.SkipWithError("short body");
    }
    checkLastBody(state, request);
    finish(state);
}

size_t collect(char *data, size_t n, size_t count, void *out) {
    static_cast<std::string *>(out)->append(data, n * count);
    return n * count;
}

void CurlEasyReused(benchmark::State &state) {
    CURL *easy = curl_easy_init();
    std::string body;
    curl_easy_setopt(easy, CURLOPT_URL, nginx().url(path(state)).c_str());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &collect);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    for (auto _ : state) {
        body.clear();
        curl_easy_perform(easy);
        if (body.size() != size(state))
            state.SkipWithError("short body");
    }
    curl_easy_cleanup(easy);
    finish(state);
}

const std::string &gzipJson() {
    static const std::string packed = [] {
        std::string json = "[";
        for (int i = 0; json.size() < (10u << 20); ++i)
            json += "{\"title\":\"headline " + std::to_string(i) + "\",\"url\":\"/news/" +
                    std::to_string(i * 7919) + ".html\",\"otime\":\"2012-05-" + std::to_string(i % 28 + 1) +
                    " 09:30\"},";
        json.back() = ']';
        return DataCompressor::compressData(base::Data::fromString(json), nullptr)->toString();
    }();
    return packed;
}

constexpr size_t chunk = 16 * 1024;

void InflateDataDecompressor(benchmark::State &state) {
    const std::string &in = gzipJson();
    size_t out = 0;
    for (auto _ : state) {
        auto d = DataDecompressor::decompressor();
        out = 0;
        for (size_t at = 0; at < in.size(); at += chunk) {
            auto piece = d->uncompressBytes(reinterpret_cast<const uint8_t *>(in.data()) + at,
                                            std::min(chunk, in.size() - at), nullptr);
            out += piece ? piece->length() : 0;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out));
}

void InflateZlib(benchmark::State &state) {
    const std::string &in = gzipJson();
    std::string buffer(chunk * 8, '\0');
    size_t out = 0;
    for (auto _ : state) {
        z_stream z{};
        inflateInit2(&z, 47);
        out = 0;
        for (size_t at = 0; at < in.size(); at += chunk) {
            z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(in.data()) + at);
            z.avail_in = uInt(std::min(chunk, in.size() - at));
            do {
                z.next_out = reinterpret_cast<Bytef *>(buffer.data());
                z.avail_out = uInt(buffer.size());
                inflate(&z, Z_NO_FLUSH);
                out += buffer.size() - z.avail_out;
            } while (z.avail_out == 0);
        }
        inflateEnd(&z);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out));
}

} // namespace

BENCHMARK(HTTPRequestAsynchronous)->Arg(1)->Arg(10)->UseRealTime();
BENCHMARK(HTTPRequestSynchronous)->Arg(1)->Arg(10)->UseRealTime();
BENCHMARK(CurlEasyReused)->Arg(1)->Arg(10)->UseRealTime();
BENCHMARK(InflateDataDecompressor);
BENCHMARK(InflateZlib);
