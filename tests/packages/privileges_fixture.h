#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/application.h"
#include "packages/privileges_package.h"
#include "packages_fixture.h"
#include "platform/core/filer.h"
#include "platform/core/stream.h"
#include "support/byte_builder.h"
#include "support/pkg_stream.h"

namespace kw {

// An active application object with a privileges package whose tree is:
//   10 "Files"        20 "Edit"
//     11 "Open"          21 "Copy"
//       12 "Recent"
class PrivilegesTest : public PackagesTest {
protected:
    TKwPkgPrivileges& StartPrivileges() {
        app_ = std::make_unique<TKwCApplication>();
        app_->SetName(u"App");
        // The application object may already own its package.
        TKwPkgPrivileges* owned = KwAppPrivileges(*app_);
        TKwPkgPrivileges& privileges = owned != nullptr ? *owned : Create<TKwPkgPrivileges>(*app_);
        privileges.SetName(u"Rights");
        return privileges;
    }

    TKwPkgPrivileges& StartTree() {
        TKwPkgPrivileges& privileges = StartPrivileges();
        BuildTree(privileges);
        return privileges;
    }

    static void BuildTree(TKwPkgPrivileges& p) {
        p.Add(10).SetDescription(u"Files");
        p.Add(11).SetDescription(u"Open");
        p.Add(12).SetDescription(u"Recent");
        p.Add(20).SetDescription(u"Edit");
        p.Add(21).SetDescription(u"Copy");
        p.FindId(11)->SetParent(p.FindId(10));
        p.FindId(12)->SetParent(p.FindId(11));
        p.FindId(21)->SetParent(p.FindId(20));
    }
};

using test::PkgStream;

// A scrambled string of an access file from version 3: raw count, units XORed with 0x3C3C.
inline std::vector<std::uint8_t> AccessScrambled(StringView text) {
    test::ByteBuilder b;
    b.U16(static_cast<std::uint16_t>(text.size()));
    for (Char c : text)
        b.U16(static_cast<std::uint16_t>(c ^ 0x3C3C));
    return b.Data();
}

// A scrambled string of an access file before version 3: an 8-bit string value (kind 6) whose
// bytes are XORed with 0x3C.
inline std::vector<std::uint8_t> AnsiScrambled(const std::vector<std::uint8_t>& bytes) {
    test::ByteBuilder b;
    b.U8(6).U8(static_cast<std::uint8_t>(bytes.size()));
    for (std::uint8_t c : bytes)
        b.U8(c ^ 0x3C);
    return b.Data();
}

inline String VisiblesScrambled(StringView text) {
    String result(text);
    for (Char& c : result)
        c = static_cast<Char>(c ^ 0x3C);
    return result;
}

inline void LoadStream(const std::vector<std::uint8_t>& bytes,
                       const std::function<void(TStream&)>& load) {
    TMemoryStream stream;
    stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    load(stream);
}

inline std::vector<std::uint8_t> SavedStream(const std::function<void(TStream&)>& save) {
    TMemoryStream stream;
    save(stream);
    return stream.Bytes();
}

}  // namespace kw
