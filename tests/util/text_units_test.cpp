#include <gtest/gtest.h>

#include "platform/ui/screen.h"
#include "util/text.h"
#include "util/units.h"

namespace kw {
namespace {

TEST(CapacityTest, UnitsAndSeparators) {
    EXPECT_EQ(KwFormatCapacity(1023, false), u"1023 Bytes");
    EXPECT_EQ(KwFormatCapacity(1024, false), u"1 KB");
    EXPECT_EQ(KwFormatCapacity(1536, false), u"1.5 KB");
    EXPECT_EQ(KwFormatCapacity(1536, true), u"1,5 KB");
    EXPECT_EQ(KwFormatCapacity(1048575, false), u"1024 KB");
    EXPECT_EQ(KwFormatCapacity(1048576 * 3 / 2 + 1, false), u"1.5 MB");
    EXPECT_EQ(KwFormatCapacity(std::int64_t{5000} * 1048576, true), u"5000 MB");
}

TEST(UnitsTest, ConvertThroughMillimetres) {
    Screen().SetPixelsPerInch(96);
    EXPECT_DOUBLE_EQ(KwConvertUnit(1, TKwUnit::ruuInch, TKwUnit::ruuMillimeter), 25.4);
    EXPECT_DOUBLE_EQ(KwConvertUnit(2.54, TKwUnit::ruuCentimeter, TKwUnit::ruuPixel), 96);
    EXPECT_DOUBLE_EQ(KwPosPixelsToUnit(96, TKwUnit::ruuInch, 200, 1), 1.5);
    EXPECT_DOUBLE_EQ(KwPosPixelsToUnit(96, TKwUnit::ruuInch, 0, 0), 1);
    Screen().SetPixelsPerInch(192);
    EXPECT_DOUBLE_EQ(KwConvertUnit(192, TKwUnit::ruuPixel, TKwUnit::ruuInch), 1);
    Screen().SetPixelsPerInch(96);
}

TEST(TextTest, Helpers) {
    EXPECT_EQ(KwStrFill(u"ab", 3), u"ababab");
    EXPECT_EQ(KwStrFill(u"ab", -1), u"");
    EXPECT_TRUE(KwStrEqual(u"abc", u"ABC"));
    EXPECT_TRUE(KwStrEqual(u"Äpfel", u"äPFEL"));
    EXPECT_FALSE(KwStrEqual(u"apfel", u"äpfel"));
    EXPECT_EQ(KwStrFirstUpperCase(u"hELLO wORLD,foo.bar[baz]QUX"), u"Hello World,Foo.Bar[Baz]Qux");
    EXPECT_EQ(KwStrFirstUpperCase(u"\u00e9T\u00c9\tnew-york"), u"\u00c9t\u00e9\tNew-york");
    EXPECT_EQ(KwStrAccel(u"&&Save &As", false), u"&Save As");
    EXPECT_EQ(KwStrAccel(u"&File", false), u"File");
    EXPECT_EQ(KwStrAccel(u"&&&x&", false), u"&x");
    EXPECT_EQ(KwStrAccel(u"&&Save", true), u"&&Save");
}

}  // namespace
}  // namespace kw
