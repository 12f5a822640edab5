// The value stream against plain copies of the same encoded bytes, and the reader against a
// decoder of the same format written by hand as one loop over the bytes. Each benchmark times
// both sides in every iteration and reports "ratio" (library over baseline); the read benchmarks
// also report "vs_hand_decoder".

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <stdlib.h>
#include <unistd.h>

#include "bench_ratio.h"
#include "platform/core/filer.h"
#include "platform/core/stream.h"
#include "platform/text/unicode.h"

namespace kw {
namespace {

constexpr int kValueCount = 1000000;
constexpr int kKinds = 8;

const String kWords[] = {u"Caption", u"OK", u"Hint text", u"\u00C9t\u00E9 \u4E2D\u6587",
                         u"\u0421\u043E\u0445\u0440\u0430\u043D\u0438\u0442\u044C"};
const String kIdents[] = {u"clRed", u"alClient", u"bsSolid"};

void WriteMixed(TWriter& writer) {
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
                writer.WriteString(kWords[i % 5]);
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

// Sums what it reads so that the library's and the hand decoder's results can be compared.
struct Digest {
    std::int64_t integers = 0;
    std::int64_t trues = 0;
    std::int64_t textUnits = 0;
    double floats = 0;
    bool operator==(const Digest&) const = default;
};

Digest ReadMixed(TReader& reader) {
    Digest digest;
    for (int i = 0; i < kValueCount; ++i) {
        switch (i % kKinds) {
            case 0:
            case 1:
            case 2:
            case 3:
                digest.integers += reader.ReadInt64();
                break;
            case 4:
                digest.trues += reader.ReadBoolean();
                break;
            case 5:
                digest.textUnits += static_cast<std::int64_t>(reader.ReadString().size());
                break;
            case 6:
                digest.floats += reader.ReadFloat();
                break;
            case 7:
                digest.textUnits += static_cast<std::int64_t>(reader.ReadIdent().size());
                break;
        }
    }
    return digest;
}

template <class T>
T LoadLE(const std::uint8_t* p) {
    T value;
    std::memcpy(&value, p, sizeof(T));
    return value;
}

// The same format decoded without the reader: one switch over the kind bytes, the same text
// decoders and float conversion, no buffering and no checks beyond the end of the bytes.
Digest HandDecode(const std::vector<std::uint8_t>& bytes) {
    Digest digest;
    const std::uint8_t* p = bytes.data();
    const std::uint8_t* end = p + bytes.size();
    auto text = [&](size_t count, String (*decode)(std::string_view)) {
        const String s = decode(std::string_view(reinterpret_cast<const char*>(p), count));
        p += count;
        return static_cast<std::int64_t>(s.size());
    };
    while (p < end) {
        switch (static_cast<TValueType>(*p++)) {
            case TValueType::vaInt8:
                digest.integers += static_cast<std::int8_t>(*p++);
                break;
            case TValueType::vaInt16:
                digest.integers += LoadLE<std::int16_t>(p);
                p += 2;
                break;
            case TValueType::vaInt32:
                digest.integers += LoadLE<std::int32_t>(p);
                p += 4;
                break;
            case TValueType::vaInt64:
                digest.integers += LoadLE<std::int64_t>(p);
                p += 8;
                break;
            case TValueType::vaTrue:
                ++digest.trues;
                break;
            case TValueType::vaFalse:
                break;
            case TValueType::vaUTF8String: {
                const auto count = LoadLE<std::uint32_t>(p);
                p += 4;
                digest.textUnits += text(count, Utf8ToString);
                break;
            }
            case TValueType::vaWString: {
                const auto count = LoadLE<std::uint32_t>(p);
                p += 4;
                String s(count, u'\0');
                std::memcpy(s.data(), p, count * 2);
                p += count * 2;
                digest.textUnits += static_cast<std::int64_t>(s.size());
                break;
            }
            case TValueType::vaIdent: {
                const size_t count = *p++;
                digest.textUnits += text(count, Cp1252ToString);
                break;
            }
            case TValueType::vaExtended: {
                TExtended80 ext;
                std::memcpy(ext.data(), p, ext.size());
                p += ext.size();
                digest.floats += ExtendedToDouble(ext);
                break;
            }
            default:
                return {};
        }
    }
    return digest;
}

const std::vector<std::uint8_t>& EncodedSample() {
    static const std::vector<std::uint8_t> sample = [] {
        TMemoryStream stream;
        {
            TWriter writer(stream);
            WriteMixed(writer);
        }
        return stream.Bytes();
    }();
    return sample;
}

void CopyBaseline(bench::RatioTimer& timer, std::vector<std::uint8_t>& target) {
    const std::vector<std::uint8_t>& source = EncodedSample();
    timer.Baseline([&] {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::ClobberMemory();
    });
}

void BM_WriteValueStream(benchmark::State& state) {
    const auto size = static_cast<std::int64_t>(EncodedSample().size());
    std::vector<std::uint8_t> copy(EncodedSample().size());
    TMemoryStream stream;
    bench::RatioTimer timer;
    for (auto _ : state) {
        stream.SetPosition(0);
        timer.Library([&] {
            TWriter writer(stream);
            WriteMixed(writer);
        });
        CopyBaseline(timer, copy);
    }
    state.SetBytesProcessed(state.iterations() * size);
    timer.Report(state, stream.Bytes() == EncodedSample() ? kValueCount : 0,
                 "the written stream differs from the sample");
}

void BM_ReadValueStream(benchmark::State& state) {
    const std::vector<std::uint8_t>& bytes = EncodedSample();
    TMemoryStream stream;
    stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    std::vector<std::uint8_t> copy(bytes.size());
    bench::RatioTimer timer, hand;
    Digest ours, theirs;
    for (auto _ : state) {
        stream.SetPosition(0);
        hand.AddLibrary(timer.Library([&] {
            TReader reader(stream);
            ours = ReadMixed(reader);
        }));
        CopyBaseline(timer, copy);
        hand.Baseline([&] { theirs = HandDecode(bytes); });
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
    const double live = ours.integers != 0 && ours == theirs ? kValueCount : 0;
    timer.Report(state, live, "the reader and the hand decoder disagree");
    hand.Report(state, live, "the reader and the hand decoder disagree", "vs_hand_decoder");
}

// The same through a file: the baseline reads or writes the file's bytes in one call.
class TempFile {
public:
    TempFile() {
        char path[] = "/tmp/kw_filer_benchXXXXXX";
        const int fd = mkstemp(path);
        if (fd >= 0)
            close(fd);
        name_ = Utf8ToString(path);
    }
    ~TempFile() { std::remove(StringToUtf8(name_).c_str()); }
    const String& Name() const { return name_; }

private:
    String name_;
};

void BM_WriteValueStreamFile(benchmark::State& state) {
    const std::vector<std::uint8_t>& bytes = EncodedSample();
    TempFile file;
    bench::RatioTimer timer;
    for (auto _ : state) {
        timer.Library([&] {
            TFileStream stream(file.Name(), TFileMode::fmCreate);
            TWriter writer(stream);
            WriteMixed(writer);
        });
        timer.Baseline([&] {
            TFileStream stream(file.Name(), TFileMode::fmCreate);
            stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        });
    }
    TMemoryStream check;
    timer.Library([&] { check.LoadFromFile(file.Name()); });
    timer.Report(state, check.Bytes() == bytes ? kValueCount : 0,
                 "the written file differs from the sample");
}

void BM_ReadValueStreamFile(benchmark::State& state) {
    const std::vector<std::uint8_t>& bytes = EncodedSample();
    TempFile file;
    {
        TFileStream stream(file.Name(), TFileMode::fmCreate);
        stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    }
    std::vector<std::uint8_t> copy(bytes.size());
    bench::RatioTimer timer;
    Digest ours;
    for (auto _ : state) {
        timer.Library([&] {
            TFileStream stream(file.Name(), TFileMode::fmOpenRead);
            TReader reader(stream);
            ours = ReadMixed(reader);
        });
        timer.Baseline([&] {
            TFileStream stream(file.Name(), TFileMode::fmOpenRead);
            stream.ReadBuffer(copy.data(), static_cast<std::int64_t>(copy.size()));
        });
    }
    timer.Report(state, ours == HandDecode(bytes) && ours.integers != 0 ? kValueCount : 0,
                 "the reader and the hand decoder disagree");
}

}  // namespace
}  // namespace kw

BENCHMARK(kw::BM_WriteValueStream)->Unit(benchmark::kMillisecond);
BENCHMARK(kw::BM_ReadValueStream)->Unit(benchmark::kMillisecond);
BENCHMARK(kw::BM_WriteValueStreamFile)->Unit(benchmark::kMillisecond);
BENCHMARK(kw::BM_ReadValueStreamFile)->Unit(benchmark::kMillisecond);
