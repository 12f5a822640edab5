#include <gtest/gtest.h>

#include "framework/clip_formats.h"
#include "framework/errors.h"
#include "framework/state.h"
#include "platform/core/persistent.h"
#include "support/package_bytes.h"

namespace kw {
namespace {

class ErrorsTest : public testing::Test {
protected:
    void TearDown() override {
        KwSetMessageLookup(nullptr);
        KwResetFrameworkState();
    }
};

TEST_F(ErrorsTest, SourcePrefixAndClosingPeriod) {
    EXPECT_EQ(MessageOf([] { KwExcept(u"Grid1", u"Value out of range"); }),
              u"(Grid1) Value out of range.");
    EXPECT_EQ(MessageOf([] { KwExcept(u"Grid1", u"Continue?"); }), u"(Grid1) Continue?");
    EXPECT_EQ(MessageOf([] { KwExcept(u"", u"No source"); }), u"No source");
    KwSetDesignMode(true);
    EXPECT_EQ(MessageOf([] { KwExcept(u"Grid1", u"Value out of range"); }),
              u"(Grid1) Value out of range");
}

TEST_F(ErrorsTest, NumberedErrorsCarryGroupNumberAndSource) {
    KwSetMessageLookup([](StringView group, int id) -> std::optional<String> {
        if (group == u"System" && id == 3)
            return String(u"File '%s' has no name");
        return std::nullopt;
    });
    const auto e = ErrorOf([] { KwExceptPkgArgs(u"Pkg1", u"System", 3, {u"a.dis"}); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Message(), u"(Pkg1) File 'a.dis' has no name.");
    EXPECT_EQ(e->MessageId(), 3);
    EXPECT_EQ(e->Group(), u"System");
    EXPECT_EQ(e->Source(), u"Pkg1");
}

TEST_F(ErrorsTest, MissingMessageOrPackageBecomesMessageUnknown) {
    EXPECT_EQ(MessageOf([] { KwExceptPkg(u"", u"System", 99); }), u"Message Unknown (System) (99)");
    KwSetMessageLookup([](StringView, int) { return std::optional<String>(); });
    EXPECT_EQ(MessageOf([] { KwExceptPkgArgs(u"Btn", u"User", 7, {u"x"}); }),
              u"(Btn) Message Unknown (User) (7).");
}

class GraphicA : public TPersistent {
    KW_CLASS(GraphicA)
};
class GraphicB : public GraphicA {
    KW_CLASS(GraphicB)
};
KW_IMPLEMENT_CLASS(GraphicA, TPersistent)
KW_IMPLEMENT_CLASS(GraphicB, GraphicA)

TEST_F(ErrorsTest, ClipboardFormatsPreferLaterEntriesAndRemoveDescendants) {
    TKwClipFormats& formats = KwGetClipboardFormats();
    KwRegisterClipBoardFormat(10, GraphicA::StaticClass());
    KwRegisterClipBoardFormat(11, GraphicA::StaticClass());
    KwRegisterClipBoardFormat(10, GraphicB::StaticClass());
    EXPECT_EQ(formats.FindGraphicClass(GraphicA::StaticClass()), 11);
    EXPECT_EQ(formats.FindFormat(10), &GraphicB::StaticClass());
    EXPECT_EQ(formats.FindGraphicClass(TPersistent::StaticClass()), TKwClipFormats::kNoFormat);
    formats.Remove(GraphicA::StaticClass());
    EXPECT_EQ(formats.Count(), 0);
}

}  // namespace
}  // namespace kw
