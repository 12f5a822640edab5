#include "platform/text/unicode.h"

#include <gtest/gtest.h>

namespace kw {
namespace {

constexpr Char R = u'\uFFFD';

struct Decoding {
    const char* name;
    std::string_view bytes;
    String expected;
};

TEST(Unicode, Utf8DecodesEveryLengthAndRoundTrips) {
    const std::string utf8 = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF";
    const String text = u"A\u00E9\u20AC\U0001F600\U0010FFFF";
    EXPECT_EQ(Utf8ToString(utf8), text);
    EXPECT_EQ(StringToUtf8(text), utf8);
    EXPECT_EQ(Utf8ToString(std::string_view("a\0b", 3)), String(u"a\0b", 3));
}

// Each maximal ill-formed prefix becomes one U+FFFD; the byte that broke it starts afresh.
TEST(Unicode, Utf8MalformedInputBecomesReplacementCharacters) {
    const std::vector<Decoding> cases = {
        {"lone continuation", "a\x80z", String{u'a', R, u'z'}},
        {"invalid lead bytes", "\xC0\xC1\xF5\xFF", String(4, R)},
        {"overlong two-byte", "\xC0\xAF", String(2, R)},
        {"overlong three-byte", "\xE0\x80\xAF", String(3, R)},
        {"overlong four-byte", "\xF0\x8F\xBF\xBF", String(4, R)},
        {"encoded surrogate", "\xED\xA0\x80", String(3, R)},
        {"above U+10FFFF", "\xF4\x90\x80\x80", String(4, R)},
        {"truncated at the end", "a\xE2\x82", String{u'a', R}},
        {"truncated before ASCII",
         "\xE2\x82"
         "A",
         String{R, u'A'}},
        {"truncated before a lead", "\xF0\x9F\x98\xC3\xA9", String{R, u'\u00E9'}},
        {"largest below surrogates", "\xED\x9F\xBF", String{u'\uD7FF'}},
        {"smallest three-byte", "\xE0\xA0\x80", String{u'\u0800'}},
    };
    for (const Decoding& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8ToString(c.bytes), c.expected);
    }
}

TEST(Unicode, UnpairedSurrogatesEncodeAsReplacement) {
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(StringToUtf8(String{u'a', Char(0xD800)}), "a" + replacement);
    EXPECT_EQ(StringToUtf8(String{Char(0xDC00), u'b'}), replacement + "b");
    EXPECT_EQ(StringToUtf8(String{Char(0xDBFF), Char(0xD800), Char(0xDC00)}),
              replacement + "\xF0\x90\x80\x80");
}

TEST(Unicode, Cp1252HighRange) {
    EXPECT_EQ(Cp1252ToString("\x80\x8A\x9F"), u"\u20AC\u0160\u0178");
    EXPECT_EQ(Cp1252ToString("\x81\x8D\x8F\x90\x9D"), u"\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(Cp1252ToString("A\x7F\xA0\xE9\xFF"), u"A\u007F\u00A0\u00E9\u00FF");
}

}  // namespace
}  // namespace kw
