#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "framework/pkg_header.h"
#include "platform/core/filer.h"
#include "platform/core/stream.h"

namespace kw::test {

// Writes package files value by value, for files of older versions or odd layouts built by hand.
// A stream of one kind of package derives from it to add its own records.
template <class Self>
class BasicPkgStream {
public:
    Self& Header(StringView word, int version) {
        TKwPkgHeader{TKwPkgHeader::SignatureFor(word), static_cast<std::uint16_t>(version)}.Write(
            *writer_);
        return static_cast<Self&>(*this);
    }
    Self& Text(StringView text) {
        writer_->WriteString(text);
        return static_cast<Self&>(*this);
    }
    Self& Texts(std::initializer_list<StringView> texts) {
        for (StringView text : texts)
            writer_->WriteString(text);
        return static_cast<Self&>(*this);
    }
    Self& Integer(std::int32_t value) {
        writer_->WriteInteger(value);
        return static_cast<Self&>(*this);
    }
    Self& Integers(std::initializer_list<std::int32_t> values) {
        for (std::int32_t value : values)
            writer_->WriteInteger(value);
        return static_cast<Self&>(*this);
    }
    Self& Boolean(bool value) {
        writer_->WriteBoolean(value);
        return static_cast<Self&>(*this);
    }
    Self& Booleans(std::initializer_list<bool> values) {
        for (bool value : values)
            writer_->WriteBoolean(value);
        return static_cast<Self&>(*this);
    }
    Self& Float(double value) {
        writer_->WriteFloat(value);
        return static_cast<Self&>(*this);
    }
    Self& Character(Char value) {
        writer_->WriteChar(value);
        return static_cast<Self&>(*this);
    }
    Self& Raw(const std::vector<std::uint8_t>& bytes) {
        writer_->Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        return static_cast<Self&>(*this);
    }
    std::vector<std::uint8_t> Bytes() {
        writer_->FlushBuffer();
        return stream_.Bytes();
    }

private:
    TMemoryStream stream_;
    std::unique_ptr<TWriter> writer_ = std::make_unique<TWriter>(stream_);
};

class PkgStream : public BasicPkgStream<PkgStream> {};

}  // namespace kw::test
