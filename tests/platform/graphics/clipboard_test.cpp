#include <gtest/gtest.h>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/clipboard.h"
#include "platform/graphics/graphic.h"

namespace kw {
namespace {

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override { Clipboard().Reset(); }
    void TearDown() override { Clipboard().Reset(); }
};

TEST_F(ClipboardTest, RegisteredFormatsAreStableAndCaseInsensitive) {
    const Word format = RegisterClipboardFormat(u"KW_TEST_FORMAT");
    EXPECT_GE(format, 0xC000);
    EXPECT_EQ(RegisterClipboardFormat(u"kw_test_format"), format);
    EXPECT_NE(RegisterClipboardFormat(u"KW_OTHER_FORMAT"), format);
    EXPECT_EQ(GetClipboardFormatName(format), u"KW_TEST_FORMAT");
    EXPECT_EQ(GetClipboardFormatName(CF_BITMAP), u"");
    EXPECT_THROW(RegisterClipboardFormat(u""), EInvalidArgument);
}

TEST_F(ClipboardTest, OneOpenSessionReplacesTheContents) {
    TClipboard& clip = Clipboard();
    clip.SetAsText(u"first");
    clip.SetAsBytes(CF_DIB, std::vector<Byte>{1, 2});  // outside a session: replaces the text
    EXPECT_FALSE(clip.HasFormat(CF_UNICODETEXT));

    clip.Open();
    clip.SetAsText(u"caf\u00e9");
    clip.SetAsBytes(CF_DIB, std::vector<Byte>{3});
    clip.Close();
    ASSERT_EQ(clip.FormatCount(), 2);
    EXPECT_EQ(clip.Formats(0), CF_UNICODETEXT);
    EXPECT_EQ(clip.AsText(), u"caf\u00e9");
    EXPECT_EQ(clip.AsBytes(CF_DIB), std::vector<Byte>{3});
    clip.Clear();
    EXPECT_EQ(clip.FormatCount(), 0);
}

TEST_F(ClipboardTest, GraphicsTravelUnderTheirFormats) {
    TBitmap bitmap(2, 2);
    bitmap.SetPixel(1, 0, clRed);
    Clipboard().Assign(&bitmap);
    EXPECT_TRUE(Clipboard().HasFormat(CF_BITMAP));

    TPicture picture;
    picture.Assign(&Clipboard());
    ASSERT_TRUE(picture.Graphic()->Is<TBitmap>());
    EXPECT_EQ(picture.Bitmap().Pixel(1, 0), clRed);

    TGIFImage gif;
    gif.Assign(&bitmap);
    Clipboard().Assign(&gif);
    TGIFImage pasted;
    pasted.Assign(&Clipboard());
    EXPECT_EQ(pasted.Data(), gif.Data());
    EXPECT_THROW(TPngImage().Assign(&Clipboard()), EInvalidGraphic);
    TIcon icon;
    EXPECT_THROW(Clipboard().Assign(&icon), EInvalidGraphic);
}

}  // namespace
}  // namespace kw
