// Parsing and writing one news-list document with our JSON classes, nlohmann::json and RapidJSON.
// Compare the bytes per second of each against the others of the same run.
#include "NewsDocument.h"
#include "QXJsonParser.h"
#include "QXJsonStreamParser.h"
#include "QXJsonWriter.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <string>

namespace {

const std::string &document() {
    static const std::string text = newsDocument(800);
    return text;
}

void setBytes(benchmark::State &state, size_t bytes) {
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
    state.counters["KB"] = double(bytes) / 1024;
}

void ParseQXJson(benchmark::State &state) {
    for (auto _ : state) {
        std::optional<base::Value> value = QXJsonParser().objectWithString(document());
        if (!value)
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(value);
    }
    setBytes(state, document().size());
}

// The stream parser alone, without building values: what the grammar check and decoding cost.
void ParseQXJsonEvents(benchmark::State &state) {
    for (auto _ : state) {
        QXJsonStreamParser parser;
        if (parser.parse(document()) != QXJsonParserComplete)
            state.SkipWithError("parse failed");
    }
    setBytes(state, document().size());
}

void ParseNlohmann(benchmark::State &state) {
    for (auto _ : state) {
        nlohmann::json value = nlohmann::json::parse(document());
        benchmark::DoNotOptimize(value);
    }
    setBytes(state, document().size());
}

void ParseRapidJSON(benchmark::State &state) {
    for (auto _ : state) {
        rapidjson::Document value;
        value.Parse(document().data(), document().size());
        if (value.HasParseError())
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(value);
    }
    setBytes(state, document().size());
}

void WriteQXJson(benchmark::State &state) {
    const base::Value value = *JSONValue(document());
    size_t bytes = 0;
    for (auto _ : state) {
        std::optional<std::string> text = QXJsonWriter().stringWithObject(value);
        bytes = text ? text->size() : 0;
        benchmark::DoNotOptimize(text);
    }
    setBytes(state, bytes);
}

void WriteNlohmann(benchmark::State &state) {
    const nlohmann::json value = nlohmann::json::parse(document());
    size_t bytes = 0;
    for (auto _ : state) {
        std::string text = value.dump();
        bytes = text.size();
        benchmark::DoNotOptimize(text);
    }
    setBytes(state, bytes);
}

void WriteRapidJSON(benchmark::State &state) {
    rapidjson::Document value;
    value.Parse(document().data(), document().size());
    size_t bytes = 0;
    for (auto _ : state) {
        rapidjson::StringBuffer buffer;
        rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
        value.Accept(writer);
        bytes = buffer.GetSize();
        benchmark::DoNotOptimize(buffer.GetString());
    }
    setBytes(state, bytes);
}

} // namespace

BENCHMARK(ParseQXJson)->Unit(benchmark::kMicrosecond);
BENCHMARK(ParseQXJsonEvents)->Unit(benchmark::kMicrosecond);
BENCHMARK(ParseNlohmann)->Unit(benchmark::kMicrosecond);
BENCHMARK(ParseRapidJSON)->Unit(benchmark::kMicrosecond);
BENCHMARK(WriteQXJson)->Unit(benchmark::kMicrosecond);
BENCHMARK(WriteNlohmann)->Unit(benchmark::kMicrosecond);
BENCHMARK(WriteRapidJSON)->Unit(benchmark::kMicrosecond);
