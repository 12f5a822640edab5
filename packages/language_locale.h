#pragma once

#include <array>
#include <memory>

#include "packages/locale_types.h"
#include "platform/core/persistent.h"
#include "platform/text/string_list.h"

namespace kw {

class TReader;
class TWriter;
class TKwPkgLanguage;

// Replaces the entries of `list` by `names`, with one change notification.
template <size_t N>
void KwAssignNames(TStringList& list, const std::array<String, N>& names) {
    list.BeginUpdate();
    list.Clear();
    for (const String& name : names)
        list.Add(name);
    list.EndUpdate();
}

// The regional values of a language package: separators, currency, date order, names of months
// and days, the two-digit-year window and the week rules. Every change is broadcast to the
// forms (event 3) and marks the language package modified.
class TKwPkgLanguageLocale : public TPersistent {
    KW_CLASS(TKwPkgLanguageLocale)
public:
    explicit TKwPkgLanguageLocale(TKwPkgLanguage& owner);
    ~TKwPkgLanguageLocale() override;

    TKwPkgLanguage& Owner() const { return owner_; }

    // When set, the application object refreshes the values from the platform after loading.
    bool AutoLoad() const { return autoLoad_; }
    void SetAutoLoad(bool value);

    Char NumericThousandSeparator() const { return thousandSeparator_; }
    void SetNumericThousandSeparator(Char value) { Store(thousandSeparator_, value); }
    Char NumericDecimalSeparator() const { return decimalSeparator_; }
    void SetNumericDecimalSeparator(Char value) { Store(decimalSeparator_, value); }
    const String& NumericCurrencyString() const { return currencyString_; }
    void SetNumericCurrencyString(const String& value) { Store(currencyString_, value); }
    TKwCurrencyFormat NumericCurrencyFormat() const { return currencyFormat_; }
    void SetNumericCurrencyFormat(TKwCurrencyFormat value) { Store(currencyFormat_, value); }
    Char DateSeparator() const { return dateSeparator_; }
    void SetDateSeparator(Char value) { Store(dateSeparator_, value); }
    TKwDateFormat DateFormat() const { return dateFormat_; }
    void SetDateFormat(TKwDateFormat value) { Store(dateFormat_, value); }
    Char TimeSeparator() const { return timeSeparator_; }
    void SetTimeSeparator(Char value) { Store(timeSeparator_, value); }
    const String& TimeAMString() const { return timeAM_; }
    void SetTimeAMString(const String& value) { Store(timeAM_, value); }
    const String& TimePMString() const { return timePM_; }
    void SetTimePMString(const String& value) { Store(timePM_, value); }
    // The last year of the hundred-year window two-digit years expand into.
    int DateCentury() const { return dateCentury_; }
    void SetDateCentury(int value) { Store(dateCentury_, value); }
    int MaskDecimals() const { return maskDecimals_; }
    void SetMaskDecimals(int value) { Store(maskDecimals_, value); }
    TKwDateYear MaskDateYear() const { return maskDateYear_; }
    void SetMaskDateYear(TKwDateYear value) { Store(maskDateYear_, value); }
    int MaskDateYearFix() const { return maskDateYearFix_; }
    void SetMaskDateYearFix(int value) { Store(maskDateYearFix_, value); }
    TKwStartOfWeek StartOfWeek() const { return startOfWeek_; }
    void SetStartOfWeek(TKwStartOfWeek value);
    TKwStartWeekYear StartWeekYear() const { return startWeekYear_; }
    void SetStartWeekYear(TKwStartWeekYear value);

    // January and Sunday first. The setters copy the given list; a list edited in place
    // reports its change like a setter.
    const TStringList& MonthShortNames() const { return *monthShortNames_; }
    TStringList& MonthShortNames() { return *monthShortNames_; }
    TStringList& MonthLongNames() { return *monthLongNames_; }
    TStringList& DayShortNames() { return *dayShortNames_; }
    TStringList& DayLongNames() { return *dayLongNames_; }
    void SetMonthShortNames(const TStringList& names);
    const TStringList& MonthLongNames() const { return *monthLongNames_; }
    void SetMonthLongNames(const TStringList& names);
    const TStringList& DayShortNames() const { return *dayShortNames_; }
    void SetDayShortNames(const TStringList& names);
    const TStringList& DayLongNames() const { return *dayLongNames_; }
    void SetDayLongNames(const TStringList& names);

    // Copies the platform's regional settings; tells everyone when `notify`.
    void LoadLocaleWindows(bool notify);
    // Back to the values of the language file the package came from, when it can be found.
    void RestoreDefaults();
    void Change();

    // The stored form inside a language file (currency from version 3 on).
    void Read(TReader& reader, int version);
    void Write(TWriter& writer, int version) const;

private:
    template <class T>
    void Store(T& field, const T& value) {
        if (field == value)
            return;
        field = value;
        Change();
    }
    void CopyRegionalValues(const TKwPkgLanguageLocale& other);

    TKwPkgLanguage& owner_;
    bool autoLoad_ = true;
    Char thousandSeparator_ = u',';
    Char decimalSeparator_ = u'.';
    String currencyString_ = u"\u00A3";
    TKwCurrencyFormat currencyFormat_ = cfocc1;
    Char dateSeparator_ = u'/';
    TKwDateFormat dateFormat_ = dfomdy;
    Char timeSeparator_ = u':';
    String timeAM_;
    String timePM_;
    std::unique_ptr<TStringList> monthShortNames_;
    std::unique_ptr<TStringList> monthLongNames_;
    std::unique_ptr<TStringList> dayShortNames_;
    std::unique_ptr<TStringList> dayLongNames_;
    int dateCentury_ = 2049;
    int maskDecimals_ = 0;
    TKwDateYear maskDateYear_ = dyeYear4;
    int maskDateYearFix_ = 0;
    TKwStartOfWeek startOfWeek_ = sweSun;
    TKwStartWeekYear startWeekYear_ = swyFourDays;
};

}  // namespace kw
