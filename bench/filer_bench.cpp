// Reading the ratio: each benchmark reports bytes/s over the same encoded stream; the value stream
// costs (memcpy bytes/s) / (write or read bytes/s) times a plain copy of those bytes.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/core/filer.h"
#include "platform/core/stream.h"

namespace {

constexpr int kValueCount = 1000000;
constexpr int kKinds = 8;

const kw::String kWords[] = {u"Caption", u"OK", u"Hint text", u"\u00C9t\u00E9"};
const kw::String kIdents[] = {u"clRed", u"alClient", u"bsSolid"};

void WriteMixed(kw::TWriter& writer) {
    for (int i = 0; i < kValueCount; ++i) {
        switch (i % kKinds) {
            case 0:
                writer.WriteInteger(static_cast<std::int32_t>(i % 100));
                break;
            case 1:
                writer.WriteInteger(static_cast<std::int32_t>(1000 + i % 20000));
                break;
            case 2:
                writer.WriteInteger(static_cast<std::int32_t>(100000 + i));
                break;
            case 3:
                writer.WriteInteger((std::int64_t{1} << 40) + i);
                break;
            case 4:
                writer.WriteBoolean(i % 3 == 0);
                break;
            case 5:
                writer.WriteString(kWords[i % 4]);
                break;
            case 6:
                writer.WriteFloat(i * 0.25);
                break;
            case 7:
                writer.WriteIdent(kIdents[i % 3]);
                break;
        }
    }
}

void ReadMixed(kw::TReader& reader) {
    for (int i = 0; i < kValueCount; ++i) {
        switch (i % kKinds) {
            case 0:
            case 1:
            case 2:
            case 3:
                benchmark::DoNotOptimize(reader.ReadInt64());
                break;
            case 4:
                benchmark::DoNotOptimize(reader.ReadBoolean());
                break;
            case 5:
                benchmark::DoNotOptimize(reader.ReadString());
                break;
            case 6:
                benchmark::DoNotOptimize(reader.ReadFloat());
                break;
            case 7:
                benchmark::DoNotOptimize(reader.ReadIdent());
                break;
        }
    }
}

const kw::TMemoryStream& EncodedSample() {
    static const std::unique_ptr<kw::TMemoryStream> sample = [] {
        auto stream = std::make_unique<kw::TMemoryStream>();
        kw::TWriter writer(*stream);
        WriteMixed(writer);
        writer.FlushBuffer();
        return stream;
    }();
    return *sample;
}

std::int64_t EncodedSize() {
    return static_cast<std::int64_t>(EncodedSample().Bytes().size());
}

void BM_WriteValueStream(benchmark::State& state) {
    for (auto _ : state) {
        kw::TMemoryStream stream;
        kw::TWriter writer(stream);
        WriteMixed(writer);
        writer.FlushBuffer();
        benchmark::DoNotOptimize(stream.Memory());
    }
    state.SetBytesProcessed(state.iterations() * EncodedSize());
}

void BM_ReadValueStream(benchmark::State& state) {
    kw::TMemoryStream stream;
    const std::vector<std::uint8_t>& bytes = EncodedSample().Bytes();
    stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    for (auto _ : state) {
        stream.SetPosition(0);
        kw::TReader reader(stream);
        ReadMixed(reader);
    }
    state.SetBytesProcessed(state.iterations() * EncodedSize());
}

void BM_MemcpyBaseline(benchmark::State& state) {
    const std::vector<std::uint8_t>& source = EncodedSample().Bytes();
    std::vector<std::uint8_t> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * EncodedSize());
}

}  // namespace

BENCHMARK(BM_WriteValueStream)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadValueStream)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyBaseline)->Unit(benchmark::kMillisecond);
