#include "util/mask_info.h"

#include <algorithm>
#include <string_view>

#include "framework/errors.h"
#include "platform/text/strings.h"

namespace kw {

namespace {

constexpr int kMaskSyntaxError = 5;
constexpr int kMaxRepeat = 4096;

class TMaskError {};

bool IsDateType(TKwDataType dataType) {
    return dataType == TKwDataType::dtyDateTime;
}

void SetAlign(TKwMaskInfo& info, Char c) {
    info.MaskAlign = c;
}

// Which flag each letter of the first section sets, per value kind; letters that share a flag
// share a row. A letter's own character is stored, so later stages can tell them apart.
struct TLetterFlag {
    std::u16string_view letters;
    Char TKwMaskInfo::*flag;
};

constexpr TLetterFlag kNumberLetters[] = {
    {u"+-", &TKwMaskInfo::nTypSig},  {u"*", &TKwMaskInfo::nSignRight},
    {u".", &TKwMaskInfo::nSep},      {u"$", &TKwMaskInfo::nAll},
    {u"0", &TKwMaskInfo::nFillLeft}, {u"1234", &TKwMaskInfo::nCientific},
    {u"&", &TKwMaskInfo::nTrimDec},  {u"k", &TKwMaskInfo::nCheckRange},
    {u"@", &TKwMaskInfo::nCurrency}, {u"z", &TKwMaskInfo::nNoZero},
};

constexpr TLetterFlag kDateLetters[] = {
    {u"1D", &TKwMaskInfo::fLetDay},       {u"d", &TKwMaskInfo::fDay},
    {u"mM2", &TKwMaskInfo::fMonth},       {u"y", &TKwMaskInfo::fYear},
    {u"h", &TKwMaskInfo::fHour},          {u"n", &TKwMaskInfo::fMinute},
    {u"s", &TKwMaskInfo::fSecond},        {u"o", &TKwMaskInfo::f12H},
    {u"a", &TKwMaskInfo::fAmPm},          {u"k", &TKwMaskInfo::fAAdjust},
    {u"zxcvbp", &TKwMaskInfo::fDuration},
};

constexpr TLetterFlag kStringLetters[] = {
    {u"s", &TKwMaskInfo::cSymbol},    {u"a", &TKwMaskInfo::cAlfa},
    {u"d", &TKwMaskInfo::cDigitt},    {u"w", &TKwMaskInfo::cWhite},
    {u"m", &TKwMaskInfo::cSaveMask},  {u"t", &TKwMaskInfo::cNoAutoTrim},
    {u"flu", &TKwMaskInfo::cTypCase}, {u"$", &TKwMaskInfo::cAll},
    {u"*", &TKwMaskInfo::cPrivate},   {u"r", &TKwMaskInfo::cDataAlign},
};

// Sets the flag of one letter; false for a letter the kind does not know.
template <size_t N>
bool ScanLetter(const TLetterFlag (&table)[N], TKwMaskInfo& info, Char c) {
    for (const TLetterFlag& row : table) {
        if (row.letters.find(c) != std::u16string_view::npos) {
            info.*row.flag = c;
            return true;
        }
    }
    return false;
}

void ScanLetters(TKwMaskInfo& info, StringView section) {
    for (Char c : section) {
        if (c == u' ')
            continue;
        if (c == u'<' || c == u'>' || c == u'%') {
            SetAlign(info, c);
            continue;
        }
        bool known = false;
        if (KwIsNumberType(info.MaskType))
            known = ScanLetter(kNumberLetters, info, c);
        else if (IsDateType(info.MaskType))
            known = ScanLetter(kDateLetters, info, c);
        else
            known = ScanLetter(kStringLetters, info, c);
        if (!known)
            throw TMaskError();
    }
    if (info.cAll != 0)
        info.cWhite = 0;
}

void SkipBlanks(StringView text, size_t& i) {
    while (i < text.size() && text[i] == u' ')
        ++i;
}

// "#(n)" after the "#" at `i - 1`; false when no "(" follows (the "#" is a single position).
bool ReadRepeat(StringView text, size_t& i, int& count) {
    size_t j = i;
    SkipBlanks(text, j);
    if (j >= text.size() || text[j] != u'(')
        return false;
    ++j;
    SkipBlanks(text, j);
    const size_t digitsStart = j;
    count = 0;
    while (j < text.size() && text[j] >= u'0' && text[j] <= u'9') {
        count = count * 10 + (text[j] - u'0');
        if (count > kMaxRepeat)
            throw TMaskError();
        ++j;
    }
    SkipBlanks(text, j);
    if (j == digitsStart || j >= text.size() || text[j] != u')')
        throw TMaskError();
    i = j + 1;
    return true;
}

String ScanStringPattern(StringView section) {
    String pattern;
    size_t i = 0;
    while (i < section.size()) {
        const Char c = section[i++];
        if (c == u'~') {
            pattern.push_back(i < section.size() ? section[i++] : c);
        } else if (c == u'#') {
            int count = 1;
            ReadRepeat(section, i, count);
            pattern.append(count, kKwMaskPosition);
        } else {
            pattern.push_back(c);
        }
    }
    return pattern;
}

std::vector<StringView> SplitSections(StringView text) {
    std::vector<StringView> sections;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(u';', start);
        sections.push_back(
            text.substr(start, end == StringView::npos ? StringView::npos : end - start));
        if (end == StringView::npos)
            return sections;
        start = end + 1;
    }
}

class TTemplateBuilder {
public:
    TTemplateBuilder(String& mask, std::vector<TKwDateFieldSpan>* spans)
        : mask_(mask), spans_(spans) {}

    void Field(TKwDateField field, int length, Char separator) {
        if (!mask_.empty() && separator != 0)
            mask_.push_back(separator);
        if (spans_ != nullptr)
            spans_->push_back({field, static_cast<int>(mask_.size()), length});
        mask_.append(length, kKwMaskPosition);
    }

    // A time field is preceded by the separator unless the text is empty or already ends in it.
    void TimeField(TKwDateField field, int length, Char separator, size_t timeStart) {
        const bool needSeparator = mask_.size() > timeStart && mask_.back() != separator;
        Field(field, length, needSeparator ? separator : 0);
    }

private:
    String& mask_;
    std::vector<TKwDateFieldSpan>* spans_;
};

void BuildDurationTemplate(const TKwMaskInfo& info, const TKwFormatSettings& settings, String& mask,
                           std::vector<TKwDateFieldSpan>* spans) {
    TTemplateBuilder builder(mask, spans);
    int width = KwDurationWidth(info);
    const std::pair<Char, TKwDateField> units[] = {{info.fHour, TKwDateField::dfHour},
                                                   {info.fMinute, TKwDateField::dfMinute},
                                                   {info.fSecond, TKwDateField::dfSecond}};
    for (const auto& [flag, field] : units) {
        if (flag == 0)
            continue;
        builder.Field(field, width, settings.timeSeparator);
        width = 2;
    }
}

void BuildDateTemplate(const TKwMaskInfo& info, TKwDateYear dateYear,
                       const TKwFormatSettings& settings, String& mask,
                       std::vector<TKwDateFieldSpan>* spans) {
    mask.clear();
    if (info.fDuration != 0) {
        BuildDurationTemplate(info, settings, mask, spans);
        return;
    }
    TTemplateBuilder builder(mask, spans);
    const bool day = info.fLetDay != 0 || info.fDay != 0;
    const bool month = info.fMonth != 0;
    const bool year = info.fYear != 0 && dateYear != TKwDateYear::dyeNone;
    const int yearLength = dateYear == TKwDateYear::dyeYear2 ? 2 : 4;
    const Char dateSep = settings.dateSeparator;
    auto addDay = [&] {
        if (day)
            builder.Field(TKwDateField::dfDay, 2, dateSep);
    };
    auto addMonth = [&] {
        if (month)
            builder.Field(TKwDateField::dfMonth, 2, dateSep);
    };
    auto addYear = [&] {
        if (year)
            builder.Field(TKwDateField::dfYear, yearLength, dateSep);
    };
    switch (settings.dateFormat) {
        case TKwDateFormat::dfodmy:
            addDay(), addMonth(), addYear();
            break;
        case TKwDateFormat::dfomdy:
            addMonth(), addDay(), addYear();
            break;
        case TKwDateFormat::dfoymd:
            addYear(), addMonth(), addDay();
            break;
    }
    if (!info.HasTime())
        return;
    if (!mask.empty())
        mask.push_back(u' ');
    const size_t timeStart = mask.size();
    const Char timeSep = settings.timeSeparator;
    if (info.fHour != 0)
        builder.TimeField(TKwDateField::dfHour, 2, timeSep, timeStart);
    if (info.fMinute != 0)
        builder.TimeField(TKwDateField::dfMinute, 2, timeSep, timeStart);
    if (info.fSecond != 0)
        builder.TimeField(TKwDateField::dfSecond, 2, timeSep, timeStart);
    const size_t amPmLength = std::max(settings.timeAMString.size(), settings.timePMString.size());
    if (info.f12H != 0 && amPmLength > 0) {
        mask.push_back(u' ');
        if (spans != nullptr)
            spans->push_back({TKwDateField::dfAmPm, static_cast<int>(mask.size()),
                              static_cast<int>(amPmLength)});
        mask.append(amPmLength, kKwMaskPosition);
    }
}

void ScanSections(TKwMaskInfo& info, StringView text, TKwDateYear dateYear,
                  const TKwFormatSettings& settings) {
    const std::vector<StringView> sections = SplitSections(text);
    const bool textKind = KwIsTextType(info.MaskType);
    if (sections.size() > (textKind ? 3u : 1u))
        throw TMaskError();
    ScanLetters(info, sections[0]);
    if (IsDateType(info.MaskType)) {
        info.MaskSpc = u'_';
        BuildDateTemplate(info, dateYear, settings, info.Mask, nullptr);
        return;
    }
    if (sections.size() > 1)
        info.Mask = ScanStringPattern(sections[1]);
    if (sections.size() > 2) {
        const String spc = Trim(sections[2]);
        if (!spc.empty())
            info.MaskSpc = spc[0];
    }
}

}  // namespace

bool KwIsNumberType(TKwDataType dataType) {
    return dataType == TKwDataType::dtyInteger || dataType == TKwDataType::dtyCurrency ||
           dataType == TKwDataType::dtyDouble;
}

bool KwIsTextType(TKwDataType dataType) {
    return dataType == TKwDataType::dtyString || dataType == TKwDataType::dtyMemo;
}

String KwDefaultMask(TKwDataType dataType) {
    switch (dataType) {
        case TKwDataType::dtyInteger:
            return u">";
        case TKwDataType::dtyCurrency:
        case TKwDataType::dtyDouble:
            return u"&>.-";
        case TKwDataType::dtyString:
        case TKwDataType::dtyMemo:
            return u"<sadw";
        case TKwDataType::dtyDateTime:
            return u"<dmy";
        default:
            return {};
    }
}

void KwMaskScan(StringView source, TKwMaskInfo& info, TKwDataType dataType, StringView maskText,
                TKwDateYear dateYear, const TKwFormatSettings& settings) {
    const String text = Trim(maskText);
    info = TKwMaskInfo();
    info.MaskType = dataType;
    if (dataType == TKwDataType::dtyBinary) {
        info.MaskSource = text;
        return;
    }
    if (text.empty()) {
        KwMaskScan(source, info, dataType, KwDefaultMask(dataType), dateYear, settings);
        return;
    }
    info.MaskSource = (KwIsNumberType(dataType) ? u">" : u"<") + text;
    try {
        ScanSections(info, info.MaskSource, dateYear, settings);
    } catch (const TMaskError&) {
        KwExceptPkgArgs(source, u"System", kMaskSyntaxError, {text});
    }
}

TKwMaskInfo KwMaskScanned(TKwDataType dataType, StringView maskText, TKwDateYear dateYear,
                          const TKwFormatSettings& settings) {
    TKwMaskInfo info;
    KwMaskScan({}, info, dataType, maskText, dateYear, settings);
    return info;
}

int KwDurationWidth(const TKwMaskInfo& info) {
    switch (info.fDuration) {
        case u'z':
            return 1;
        case u'x':
            return 2;
        case u'c':
            return 3;
        case u'v':
            return 4;
        case u'b':
            return 5;
        case u'p':
            return 6;
        default:
            return 0;
    }
}

std::vector<TKwDateFieldSpan> KwDateFieldSpans(const TKwMaskInfo& info, TKwDateYear dateYear,
                                               const TKwFormatSettings& settings) {
    std::vector<TKwDateFieldSpan> spans;
    String mask;
    BuildDateTemplate(info, dateYear, settings, mask, &spans);
    return spans;
}

}  // namespace kw
