// Reads arbitrary bytes as a value stream twice, through the default buffer and through a tiny
// one; texts are decoded into strings of their own or into a text arena. Both passes must see the
// same values and stop at the same place, the stream must never be left beyond its end, and every
// float read must survive the extended-precision round trip.

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/core/exception.h"
#include "platform/core/filer.h"
#include "platform/core/stream.h"
#include "platform/core/text_arena.h"

namespace {

using kw::TReader;
using kw::TValueType;

template <class T>
void Append(std::string& trace, T value) {
    trace.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

void AppendText(std::string& trace, const kw::String& text) {
    Append(trace, text.size());
    trace.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(kw::Char));
}

void CheckExtendedRoundTrip(double value) {
    if (std::isnan(value))
        return;
    const double back = kw::ExtendedToDouble(kw::DoubleToExtended(value));
    if (std::bit_cast<std::uint64_t>(back) != std::bit_cast<std::uint64_t>(value))
        __builtin_trap();
}

void ReadOne(TReader& reader, kw::TTextArena& arena, std::string& trace) {
    const TValueType kind = reader.NextValue();
    trace.push_back(static_cast<char>(kind));
    switch (kind) {
        case TValueType::vaInt8:
        case TValueType::vaInt16:
        case TValueType::vaInt32:
        case TValueType::vaInt64:
            Append(trace, reader.ReadInt64());
            break;
        case TValueType::vaFalse:
        case TValueType::vaTrue:
            Append(trace, reader.ReadBoolean());
            break;
        case TValueType::vaString:
        case TValueType::vaLString:
        case TValueType::vaWString:
        case TValueType::vaUTF8String:
            // Texts go to a string of their own or into an arena, by position, so that both
            // decoders see every kind of text.
            if (reader.Position() % 2 == 0)
                AppendText(trace, reader.ReadString());
            else
                AppendText(trace, kw::String(reader.ReadString(arena)));
            break;
        case TValueType::vaIdent:
        case TValueType::vaNil:
            AppendText(trace, reader.ReadIdent());
            break;
        case TValueType::vaExtended:
        case TValueType::vaSingle:
        case TValueType::vaCurrency:
        case TValueType::vaDate:
        case TValueType::vaDouble: {
            const double value = reader.ReadFloat();
            CheckExtendedRoundTrip(value);
            Append(trace, value);
            break;
        }
        case TValueType::vaBinary:
            Append(trace, reader.ReadBinary().size());
            break;
        case TValueType::vaList:
            // Enter some lists and skip others, so that both paths see nested data.
            if (reader.Position() % 2 == 0)
                reader.ReadListBegin();
            else
                reader.SkipValue();
            break;
        case TValueType::vaNull:
            reader.ReadListEnd();
            break;
        default:  // sets, collections and unknown kinds (which raise)
            reader.SkipValue();
            break;
    }
    Append(trace, reader.Position());
}

std::string ReadAll(const std::uint8_t* data, size_t size, int bufferSize) {
    kw::TMemoryStream stream;
    stream.Write(data, static_cast<std::int64_t>(size));
    stream.SetPosition(0);
    std::string trace;
    kw::TTextArena arena;
    {
        TReader reader(stream, bufferSize);
        try {
            while (!reader.AtEnd())
                ReadOne(reader, arena, trace);
            trace += "end";
        } catch (const kw::Exception& e) {
            trace += "error:" + std::string(e.what());
        }
        Append(trace, reader.Position());
    }
    Append(trace, stream.Position());
    if (stream.Position() > static_cast<std::int64_t>(size))
        __builtin_trap();
    return trace;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    if (ReadAll(data, size, TReader::kDefaultBufferSize) != ReadAll(data, size, 3))
        __builtin_trap();
    return 0;
}
