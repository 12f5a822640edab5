#include "util/date_text.h"

#include "platform/text/strings.h"

namespace kw {

namespace {

String Padded(int value, int width) {
    String text = IntToStr(value);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, width - text.size(), u'0');
    return text;
}

class TDateReader {
public:
    TDateReader(StringView text, const TKwDateTextRules& rules) : text_(text), rules_(rules) {}

    std::optional<TDateTime> Read() {
        TDateTime date = 0;
        TDateTime time = 0;
        const bool hasDate = ReadDate(date);
        if (!hasDate)
            pos_ = 0;
        const size_t dateEnd = pos_;
        SkipBlanks();
        if (pos_ == text_.size())
            return hasDate ? std::optional<TDateTime>(date) : std::nullopt;
        if ((hasDate && pos_ == dateEnd) || !ReadTime(time))
            return std::nullopt;
        SkipBlanks();
        if (pos_ != text_.size())
            return std::nullopt;
        return hasDate ? ComposeDateTime(date, time) : time;
    }

private:
    bool ReadNumber(int minDigits, int maxDigits, int& value, int* digits = nullptr) {
        value = 0;
        int count = 0;
        while (pos_ < text_.size() && count < maxDigits && text_[pos_] >= u'0' &&
               text_[pos_] <= u'9') {
            value = value * 10 + (text_[pos_++] - u'0');
            ++count;
        }
        if (digits != nullptr)
            *digits = count;
        return count >= minDigits;
    }

    bool Accept(Char c) {
        if (pos_ >= text_.size() || text_[pos_] != c)
            return false;
        ++pos_;
        return true;
    }

    void SkipBlanks() {
        while (pos_ < text_.size() && text_[pos_] == u' ')
            ++pos_;
    }

    bool ReadYear(int& year) {
        int digits = 0;
        if (!ReadNumber(1, 4, year, &digits))
            return false;
        if (digits <= 2)
            year = KwExpandYear(year, rules_.centuryYear);
        return true;
    }

    bool ReadDate(TDateTime& date) {
        int day = 0, month = 0, year = 0;
        const Char sep = rules_.dateSeparator;
        bool ok = false;
        switch (rules_.order) {
            case TKwDateFormat::dfodmy:
                ok = ReadNumber(1, 2, day) && Accept(sep) && ReadNumber(1, 2, month) &&
                     Accept(sep) && ReadYear(year);
                break;
            case TKwDateFormat::dfomdy:
                ok = ReadNumber(1, 2, month) && Accept(sep) && ReadNumber(1, 2, day) &&
                     Accept(sep) && ReadYear(year);
                break;
            case TKwDateFormat::dfoymd:
                ok = ReadYear(year) && Accept(sep) && ReadNumber(1, 2, month) && Accept(sep) &&
                     ReadNumber(1, 2, day);
                break;
        }
        return ok && TryEncodeDate(year, month, day, date);
    }

    // An AM/PM text at the current position; -1 when there is none.
    int ReadDayHalf() {
        const StringView rest = text_.substr(pos_);
        for (int half = 0; half < 2; ++half) {
            const String& marker = half == 0 ? rules_.amText : rules_.pmText;
            if (!marker.empty() && rest.size() >= marker.size() &&
                AnsiSameText(rest.substr(0, marker.size()), marker)) {
                pos_ += marker.size();
                return half;
            }
        }
        return -1;
    }

    bool ReadTime(TDateTime& time) {
        int hour = 0, min = 0, sec = 0, msec = 0;
        if (!ReadNumber(1, 2, hour) || !Accept(rules_.timeSeparator) || !ReadNumber(2, 2, min))
            return false;
        if (Accept(rules_.timeSeparator)) {
            if (!ReadNumber(2, 2, sec))
                return false;
            int digits = 0;
            if (Accept(u'.')) {
                if (!ReadNumber(1, 3, msec, &digits))
                    return false;
                for (; digits < 3; ++digits)
                    msec *= 10;
            }
        }
        SkipBlanks();
        const int half = ReadDayHalf();
        if (half >= 0) {
            if (hour < 1 || hour > 12)
                return false;
            hour = hour % 12 + (half == 1 ? 12 : 0);
        }
        return TryEncodeTime(hour, min, sec, msec, time);
    }

    StringView text_;
    const TKwDateTextRules& rules_;
    size_t pos_ = 0;
};

}  // namespace

int KwExpandYear(int year, int centuryYear) {
    const int start = centuryYear - 99;
    int result = (start / 100) * 100 + year;
    if (result < start)
        result += 100;
    return result;
}

String KwFormatDateText(TDateTime value, const TKwDateTextRules& rules, bool withDate,
                        bool withTime) {
    int year = 0, month = 0, day = 0, hour = 0, min = 0, sec = 0, msec = 0;
    DecodeDateTime(value, year, month, day, hour, min, sec, msec);
    String text;
    if (withDate) {
        const String d = Padded(day, 2);
        const String m = Padded(month, 2);
        const String y = Padded(year, 4);
        const String sep(1, rules.dateSeparator);
        switch (rules.order) {
            case TKwDateFormat::dfodmy:
                text = d + sep + m + sep + y;
                break;
            case TKwDateFormat::dfomdy:
                text = m + sep + d + sep + y;
                break;
            case TKwDateFormat::dfoymd:
                text = y + sep + m + sep + d;
                break;
        }
    }
    if (withTime) {
        if (withDate)
            text.push_back(u' ');
        const String sep(1, rules.timeSeparator);
        text += Padded(hour, 2) + sep + Padded(min, 2) + sep + Padded(sec, 2);
    }
    return text;
}

std::optional<TDateTime> KwParseDateText(StringView text, const TKwDateTextRules& rules) {
    const String trimmed = Trim(text);
    return TDateReader(trimmed, rules).Read();
}

}  // namespace kw
