// Conversions with different settings on several threads at once.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "util/app_format.h"
#include "util/convert.h"
#include "util/mask_value.h"

namespace kw {
namespace {

using enum TKwDataType;
using enum TKwDateYear;

TKwFormatSettings Locale(int index) {
    TKwFormatSettings s;
    const Char decimals[] = {u'.', u',', u',', u'.'};
    const Char thousands[] = {u',', u'.', u' ', u'\''};
    const Char dates[] = {u'/', u'.', u'-', u'-'};
    s.decimalSeparator = decimals[index];
    s.thousandSeparator = thousands[index];
    s.dateSeparator = dates[index];
    s.dateFormat = static_cast<TKwDateFormat>(index % 3);
    s.timeSeparator = index == 3 ? u'.' : u':';
    s.dateCentury = 2030 + index;
    s.monthLongNames[0] = u"month" + String(1, static_cast<Char>(u'A' + index));
    return s;
}

// Every output of a fixed batch of conversions under one set of settings.
std::vector<String> Batch(const TKwFormatSettings& s) {
    std::vector<String> out;
    const TKwMaskInfo date = KwMaskScanned(dtyDateTime, u"dmyhns", dyeYear2, s);
    const TKwMaskInfo number = KwMaskScanned(dtyDouble, u".-", dyeYear4, s);
    for (int i = 0; i < 40; ++i) {
        const double value = (i - 20) * 1234.5678 + i / 7.0;
        const String shown = KwANumericToStrShow(value, u".+", 0, 3, s);
        out.push_back(shown);
        out.push_back(KwANumericToStr(value, u"&.-", 0, 4, s));
        out.push_back(KwCNumericToStr(KwAStrToNumeric(shown, 2, s)));
        out.push_back(KwAInt64ToStrShow(static_cast<std::int64_t>(value * 1000), u"0.", 12, s));
        const TDateTime when = EncodeDate(1950 + i * 2, 1 + i % 12, 1 + i % 28) + i / 41.0;
        const String edit = KwADateTimeToStr(when, u"dmyhns", dyeYear2, s);
        out.push_back(edit);
        out.push_back(KwADateTimeToStrShow(when, u"d2y", dyeYear4, s));
        out.push_back(KwCDateToStr(KwMaskToValue(date, {}, edit, 0, 0, dyeYear2, {}, s).AsDate()));
        out.push_back(KwCNumericToStr(
            KwMaskToValue(number, {}, KwANumericToStr(value, u".-", 0, 2, s), 0, 2, dyeYear4, {}, s)
                .AsDouble()));
    }
    return out;
}

TEST(ConversionThreadsTest, FourThreadsWithDifferentSettingsGiveSingleThreadResults) {
    std::vector<std::vector<String>> expected;
    for (int t = 0; t < 4; ++t)
        expected.push_back(Batch(Locale(t)));
    for (int t = 1; t < 4; ++t)
        ASSERT_NE(expected[t], expected[0]);

    std::atomic<int> mismatches{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            const TKwFormatSettings settings = Locale(t);
            while (!go)
                std::this_thread::yield();
            for (int round = 0; round < 30; ++round)
                if (Batch(settings) != expected[t])
                    ++mismatches;
        });
    }
    go = true;
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, 0);
}

TEST(ConversionThreadsTest, ProviderSettingsAreSafeWhileOtherThreadsConvert) {
    KwSetApplicationSettingsProvider(
        [] { return std::make_shared<const TKwFormatSettings>(Locale(1)); });
    const String expected = KwANumericToStrShow(-1234.5, u".", 0, 2);
    EXPECT_EQ(expected, u"-1.234,50");
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i)
                if (KwANumericToStrShow(-1234.5, u".", 0, 2) != expected)
                    ++mismatches;
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    KwResetConversionProviders();
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(KwANumericToStrShow(-1234.5, u".", 0, 2), u"-1,234.50");
}

}  // namespace
}  // namespace kw
