#include "packages/language_locale.h"

#include <array>

#include "framework/events.h"
#include "packages/language_package.h"
#include "packages/locale_access.h"
#include "packages/package_scopes.h"
#include "platform/core/filer.h"
#include "platform/core/files.h"
#include "platform/core/properties.h"
#include "platform/text/regional.h"
#include "platform/text/string_list.h"
#include "platform/text/strings.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwPkgLanguageLocale, TPersistent)

namespace {

// Holds a list's change notification until the list is complete.
class TListUpdate {
public:
    explicit TListUpdate(TStringList& list) : list_(list) { list_.BeginUpdate(); }
    ~TListUpdate() { list_.EndUpdate(); }
    TListUpdate(const TListUpdate&) = delete;
    TListUpdate& operator=(const TListUpdate&) = delete;

private:
    TStringList& list_;
};

void ReadNames(TReader& reader, TStringList& list) {
    TListUpdate update(list);
    list.Clear();
    const int count = reader.ReadInteger();
    for (int i = 0; i < count; ++i)
        list.Add(reader.ReadString());
}

void WriteNames(TWriter& writer, const TStringList& list) {
    writer.WriteInteger(static_cast<std::int32_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i)
        writer.WriteString(list.Strings(i));
}

template <class E>
E ReadOrdinal(TReader& reader) {
    return static_cast<E>(reader.ReadInteger());
}

void WriteOrdinal(TWriter& writer, std::int32_t value) {
    writer.WriteInteger(value);
}

// A character property is published as a one-character text.
template <Char (TKwPkgLanguageLocale::*Get)() const, void (TKwPkgLanguageLocale::*Set)(Char)>
void PublishChar(TPropertyBuilder<TKwPkgLanguageLocale>& builder, String name, Char initial) {
    builder.Text(
        std::move(name), [](const TKwPkgLanguageLocale& l) { return String(1, (l.*Get)()); },
        [](TKwPkgLanguageLocale& l, const String& v) {
            if (!v.empty())
                (l.*Set)(v.front());
        },
        String(1, initial));
}

void RegisterPublishedProperties() {
    using L = TKwPkgLanguageLocale;
    if (FindProperty(L::StaticClass(), u"AutoLoad") != nullptr)
        return;
    auto builder = Properties<L>();
    builder.Boolean(u"AutoLoad", &L::AutoLoad, &L::SetAutoLoad, true)
        .Text(u"NumericCurrencyString", &L::NumericCurrencyString, &L::SetNumericCurrencyString)
        .Enum(u"NumericCurrencyFormat", &L::NumericCurrencyFormat, &L::SetNumericCurrencyFormat,
              {u"cfoc1", u"cfo1c", u"cfocc1", u"cfo1cc"})
        .Enum(u"DateFormat", &L::DateFormat, &L::SetDateFormat, {u"dfodmy", u"dfomdy", u"dfoymd"})
        .Text(u"TimeAMString", &L::TimeAMString, &L::SetTimeAMString, String())
        .Text(u"TimePMString", &L::TimePMString, &L::SetTimePMString, String())
        .Integer(u"DateCentury", &L::DateCentury, &L::SetDateCentury, 2049)
        .Integer(u"MaskDecimals", &L::MaskDecimals, &L::SetMaskDecimals)
        .Enum(u"MaskDateYear", &L::MaskDateYear, &L::SetMaskDateYear,
              {u"dyeNone", u"dyeYear2", u"dyeYear4"})
        .Integer(u"MaskDateYearFix", &L::MaskDateYearFix, &L::SetMaskDateYearFix, 0)
        .Enum(u"StartOfWeek", &L::StartOfWeek, &L::SetStartOfWeek,
              {u"sweMon", u"sweTue", u"sweWed", u"sweThu", u"sweFri", u"sweSat", u"sweSun"}, sweSun)
        .Enum(u"StartWeekYear", &L::StartWeekYear, &L::SetStartWeekYear,
              {u"swyJanuary", u"swyFullWeek", u"swyFourDays"}, swyFourDays)
        .Object(u"MonthShortNames", [](L& l) -> TStringList& { return l.MonthShortNames(); })
        .Object(u"MonthLongNames", [](L& l) -> TStringList& { return l.MonthLongNames(); })
        .Object(u"DayShortNames", [](L& l) -> TStringList& { return l.DayShortNames(); })
        .Object(u"DayLongNames", [](L& l) -> TStringList& { return l.DayLongNames(); });
    PublishChar<&L::NumericThousandSeparator, &L::SetNumericThousandSeparator>(
        builder, u"NumericThousandSeparator", u',');
    PublishChar<&L::NumericDecimalSeparator, &L::SetNumericDecimalSeparator>(
        builder, u"NumericDecimalSeparator", u'.');
    PublishChar<&L::DateSeparator, &L::SetDateSeparator>(builder, u"DateSeparator", u'/');
    PublishChar<&L::TimeSeparator, &L::SetTimeSeparator>(builder, u"TimeSeparator", u':');
}

}  // namespace

TKwPkgLanguageLocale::TKwPkgLanguageLocale(TKwPkgLanguage& owner)
    : owner_(owner),
      monthShortNames_(std::make_unique<TStringList>()),
      monthLongNames_(std::make_unique<TStringList>()),
      dayShortNames_(std::make_unique<TStringList>()),
      dayLongNames_(std::make_unique<TStringList>()) {
    for (TStringList* list :
         {monthShortNames_.get(), monthLongNames_.get(), dayShortNames_.get(), dayLongNames_.get()})
        list->SetOnChange([this](TStringList&) { Change(); });
    RegisterPublishedProperties();
    LoadLocaleWindows(false);
}

TKwPkgLanguageLocale::~TKwPkgLanguageLocale() {
    KwLocaleTouched();
}

void TKwPkgLanguageLocale::SetStartOfWeek(TKwStartOfWeek value) {
    startOfWeek_ = value;
    KwLocaleTouched();
}

void TKwPkgLanguageLocale::SetStartWeekYear(TKwStartWeekYear value) {
    startWeekYear_ = value;
    KwLocaleTouched();
}

void TKwPkgLanguageLocale::SetAutoLoad(bool value) {
    if (value == autoLoad_)
        return;
    autoLoad_ = value;
    if (value && !owner_.LoadingProps())
        LoadLocaleWindows(true);
}

void TKwPkgLanguageLocale::SetMonthShortNames(const TStringList& names) {
    monthShortNames_->Assign(&names);
}
void TKwPkgLanguageLocale::SetMonthLongNames(const TStringList& names) {
    monthLongNames_->Assign(&names);
}
void TKwPkgLanguageLocale::SetDayShortNames(const TStringList& names) {
    dayShortNames_->Assign(&names);
}
void TKwPkgLanguageLocale::SetDayLongNames(const TStringList& names) {
    dayLongNames_->Assign(&names);
}

void TKwPkgLanguageLocale::Change() {
    KwLocaleTouched();
    if (owner_.LoadingProps())
        return;
    KwGlobalPerform(kwEvtMasks, &owner_);
    owner_.SetModified(true);
}

void TKwPkgLanguageLocale::LoadLocaleWindows(bool notify) {
    const TRegionalSettings& platform = RegionalSettings();
    {
        TKwLoadingScope loading(owner_);
        thousandSeparator_ = platform.thousandSeparator;
        decimalSeparator_ = platform.decimalSeparator;
        currencyString_ = platform.currencyString;
        dateSeparator_ = platform.dateSeparator;
        timeSeparator_ = platform.timeSeparator;
        timeAM_ = platform.timeAMString;
        timePM_ = platform.timePMString;
        currencyFormat_ = KwCurrencyFormatOf(platform.currencyFormat);
        dateFormat_ = KwDateFormatOf(platform.shortDateFormat);
        maskDateYear_ = KwDateYearOf(platform.shortDateFormat);
        KwAssignNames(*monthShortNames_, platform.shortMonthNames);
        KwAssignNames(*monthLongNames_, platform.longMonthNames);
        KwAssignNames(*dayShortNames_, platform.shortDayNames);
        KwAssignNames(*dayLongNames_, platform.longDayNames);
        maskDecimals_ = platform.currencyDecimals;
    }
    KwLocaleTouched();
    if (notify)
        Change();
}

void TKwPkgLanguageLocale::CopyRegionalValues(const TKwPkgLanguageLocale& other) {
    dateCentury_ = other.dateCentury_;
    dateFormat_ = other.dateFormat_;
    dateSeparator_ = other.dateSeparator_;
    dayLongNames_->Assign(other.dayLongNames_.get());
    dayShortNames_->Assign(other.dayShortNames_.get());
    maskDateYear_ = other.maskDateYear_;
    maskDateYearFix_ = other.maskDateYearFix_;
    maskDecimals_ = other.maskDecimals_;
    monthLongNames_->Assign(other.monthLongNames_.get());
    monthShortNames_->Assign(other.monthShortNames_.get());
    decimalSeparator_ = other.decimalSeparator_;
    thousandSeparator_ = other.thousandSeparator_;
    currencyString_ = other.currencyString_;
    currencyFormat_ = other.currencyFormat_;
    startOfWeek_ = other.startOfWeek_;
    startWeekYear_ = other.startWeekYear_;
    timeAM_ = other.timeAM_;
    timePM_ = other.timePM_;
    timeSeparator_ = other.timeSeparator_;
    KwLocaleTouched();
}

void TKwPkgLanguageLocale::RestoreDefaults() {
    const String folder = KwSystemPackagesFolder();
    String file = owner_.LastUpdateFile();
    if (file.empty())
        file = KwScanLanguageFileName(owner_, folder);
    if (file.empty())
        return;
    auto inFolder = [&](const String& name) {
        return Trim(folder).empty() ? String() : AddPathBar(folder) + name;
    };
    String path = ExtractFilePath(file).empty() ? inFolder(file) : file;
    if (!path.empty() && !FileExists(path))
        path = inFolder(ExtractFileName(file));
    if (path.empty() || !FileExists(path))
        return;
    TKwPkgLanguage source;
    {
        TKwLoadingScope quiet(source);
        source.LoadFromFile(path);
    }
    {
        TKwLoadingScope loading(owner_);
        CopyRegionalValues(source.Locale());
    }
    Change();
}

void TKwPkgLanguageLocale::Read(TReader& reader, int version) {
    dateCentury_ = reader.ReadInteger();
    dateFormat_ = ReadOrdinal<TKwDateFormat>(reader);
    dateSeparator_ = reader.ReadChar();
    ReadNames(reader, *dayLongNames_);
    ReadNames(reader, *dayShortNames_);
    maskDateYear_ = ReadOrdinal<TKwDateYear>(reader);
    maskDateYearFix_ = reader.ReadInteger();
    maskDecimals_ = reader.ReadInteger();
    ReadNames(reader, *monthLongNames_);
    ReadNames(reader, *monthShortNames_);
    decimalSeparator_ = reader.ReadChar();
    thousandSeparator_ = reader.ReadChar();
    startOfWeek_ = ReadOrdinal<TKwStartOfWeek>(reader);
    startWeekYear_ = ReadOrdinal<TKwStartWeekYear>(reader);
    timeAM_ = reader.ReadString();
    timePM_ = reader.ReadString();
    timeSeparator_ = reader.ReadChar();
    if (version >= 3) {
        currencyString_ = reader.ReadString();
        currencyFormat_ = ReadOrdinal<TKwCurrencyFormat>(reader);
    }
    autoLoad_ = false;
    autoLoad_ = reader.ReadBoolean();
    KwLocaleTouched();
}

void TKwPkgLanguageLocale::Write(TWriter& writer, int version) const {
    writer.WriteInteger(static_cast<std::int32_t>(dateCentury_));
    WriteOrdinal(writer, dateFormat_);
    writer.WriteChar(dateSeparator_);
    WriteNames(writer, *dayLongNames_);
    WriteNames(writer, *dayShortNames_);
    WriteOrdinal(writer, maskDateYear_);
    writer.WriteInteger(static_cast<std::int32_t>(maskDateYearFix_));
    writer.WriteInteger(static_cast<std::int32_t>(maskDecimals_));
    WriteNames(writer, *monthLongNames_);
    WriteNames(writer, *monthShortNames_);
    writer.WriteChar(decimalSeparator_);
    writer.WriteChar(thousandSeparator_);
    WriteOrdinal(writer, startOfWeek_);
    WriteOrdinal(writer, startWeekYear_);
    writer.WriteString(timeAM_);
    writer.WriteString(timePM_);
    writer.WriteChar(timeSeparator_);
    if (version >= 3) {
        writer.WriteString(currencyString_);
        WriteOrdinal(writer, currencyFormat_);
    }
    writer.WriteBoolean(autoLoad_);
}

}  // namespace kw
