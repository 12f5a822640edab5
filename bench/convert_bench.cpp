// Numbers and dates to application text and back, against the C library on the same values.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "platform/text/unicode.h"
#include "util/app_format.h"
#include "util/convert.h"

namespace {

using namespace kw;

constexpr int kCount = 1024;

const TKwFormatSettings& Settings() {
    static const TKwFormatSettings settings;
    return settings;
}

const std::vector<double>& Numbers() {
    static const std::vector<double> values = [] {
        std::mt19937_64 random(7);
        std::uniform_real_distribution<double> spread(-1e6, 1e6);
        std::vector<double> v(kCount);
        for (double& x : v)
            x = spread(random);
        return v;
    }();
    return values;
}

const std::vector<TDateTime>& Dates() {
    static const std::vector<TDateTime> values = [] {
        std::mt19937_64 random(11);
        std::uniform_real_distribution<double> spread(1.0, 73000.0);
        std::vector<TDateTime> v(kCount);
        for (TDateTime& x : v)
            x = static_cast<double>(static_cast<std::int64_t>(spread(random) * 86400)) / 86400;
        return v;
    }();
    return values;
}

void NumberToText(benchmark::State& state) {
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            KwANumericToStrShow(Numbers()[i++ % kCount], u"-", 0, 2, Settings()));
}
BENCHMARK(NumberToText);

void NumberToTextThroughProvider(benchmark::State& state) {
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(KwANumericToStrShow(Numbers()[i++ % kCount], u"-", 0, 2));
}
BENCHMARK(NumberToTextThroughProvider);

void NumberToTextSnprintf(benchmark::State& state) {
    size_t i = 0;
    char buffer[64];
    for (auto _ : state) {
        const int n = std::snprintf(buffer, sizeof buffer, "%.2f", Numbers()[i++ % kCount]);
        benchmark::DoNotOptimize(String(buffer, buffer + n));
    }
}
BENCHMARK(NumberToTextSnprintf);

void TextToNumber(benchmark::State& state) {
    std::vector<String> texts;
    for (double x : Numbers())
        texts.push_back(KwANumericToStr(x, u"-", 0, 2, Settings()));
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(KwAStrToNumeric(texts[i++ % kCount], 2, Settings()));
}
BENCHMARK(TextToNumber);

void TextToNumberStrtod(benchmark::State& state) {
    std::vector<String> texts;
    for (double x : Numbers())
        texts.push_back(KwANumericToStr(x, u"-", 0, 2, Settings()));
    size_t i = 0;
    for (auto _ : state) {
        const std::string ascii = StringToUtf8(texts[i++ % kCount]);
        benchmark::DoNotOptimize(std::strtod(ascii.c_str(), nullptr));
    }
}
BENCHMARK(TextToNumberStrtod);

void DateToText(benchmark::State& state) {
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            KwADateTimeToStr(Dates()[i++ % kCount], u"dmyhns", TKwDateYear::dyeYear4, Settings()));
}
BENCHMARK(DateToText);

void DateToTextSnprintf(benchmark::State& state) {
    size_t i = 0;
    char buffer[64];
    for (auto _ : state) {
        int y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, ms = 0;
        DecodeDateTime(Dates()[i++ % kCount], y, m, d, h, n, s, ms);
        const int length =
            std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %02d:%02d:%02d", m, d, y, h, n, s);
        benchmark::DoNotOptimize(String(buffer, buffer + length));
    }
}
BENCHMARK(DateToTextSnprintf);

void TextToDate(benchmark::State& state) {
    std::vector<String> texts;
    for (TDateTime x : Dates())
        texts.push_back(KwADateTimeToStr(x, u"dmyhns", TKwDateYear::dyeYear4, Settings()));
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(KwAStrToDate(texts[i++ % kCount], Settings()));
}
BENCHMARK(TextToDate);

void TextToDateSscanf(benchmark::State& state) {
    std::vector<String> texts;
    for (TDateTime x : Dates())
        texts.push_back(KwADateTimeToStr(x, u"dmyhns", TKwDateYear::dyeYear4, Settings()));
    size_t i = 0;
    for (auto _ : state) {
        const std::string ascii = StringToUtf8(texts[i++ % kCount]);
        int y = 0, m = 0, d = 0, h = 0, n = 0, s = 0;
        std::sscanf(ascii.c_str(), "%d/%d/%d %d:%d:%d", &m, &d, &y, &h, &n, &s);
        benchmark::DoNotOptimize(ComposeDateTime(EncodeDate(y, m, d), EncodeTime(h, n, s, 0)));
    }
}
BENCHMARK(TextToDateSscanf);

}  // namespace
