#include "util/mask.h"

#include "platform/core/properties.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwMask, TPersistent)

namespace {

// Registered on first use, and again if a test emptied the registry.
void EnsurePublishedProperties() {
    if (FindProperty(TKwMask::StaticClass(), u"Take"))
        return;
    auto ownValues = [](const TKwMask& mask) { return mask.Take() == TKwMaskTake::mtaNone; };
    Properties<TKwMask>()
        .Enum(u"Take", &TKwMask::Take, &TKwMask::SetTake,
              {u"mtaNone", u"mtaApplication", u"mtaForm"}, TKwMaskTake::mtaNone)
        .Integer(u"Size", &TKwMask::Size, &TKwMask::SetSize, 0)
        .Integer(u"Decimals", &TKwMask::Decimals, &TKwMask::SetDecimals, 0)
        .StoredWhen(ownValues)
        .Enum(u"DateYear", &TKwMask::DateYear, &TKwMask::SetDateYear,
              {u"dyeNone", u"dyeYear2", u"dyeYear4"}, TKwDateYear::dyeYear4)
        .StoredWhen(ownValues)
        .Text(u"Text", &TKwMask::Text, &TKwMask::SetText, String());
}

}  // namespace

TKwMask::TKwMask(TPersistent* owner) : owner_(owner) {
    EnsurePublishedProperties();
}

void TKwMask::Assign(const TPersistent* source) {
    const auto* mask = dynamic_cast<const TKwMask*>(source);
    if (mask == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    SetDataType(mask->GetDataType());
    UpdateMask(mask->Text(), mask->Size(), mask->Decimals(), mask->DateYear());
}

void TKwMask::Changed(const String& text, int size, int decimals, TKwDateYear dateYear) {
    if (LoadingProps()) {
        text_ = text;
        size_ = size;
        decimals_ = decimals;
        dateYear_ = dateYear;
    } else {
        UpdateMask(text, size, decimals, dateYear);
    }
}

void TKwMask::SetTake(TKwMaskTake take) {
    if (take == take_)
        return;
    take_ = take;
    if (!LoadingProps())
        UpdateMask(text_, size_, Decimals(), DateYear());
}

void TKwMask::SetSize(int size) {
    if (size != size_)
        Changed(text_, size, decimals_, dateYear_);
}

int TKwMask::Decimals() const {
    switch (take_) {
        case TKwMaskTake::mtaApplication:
            return KwApplicationSettings().maskDecimals;
        case TKwMaskTake::mtaForm:
            return FormDefaults().value_or(TKwMaskDefaults()).decimals;
        default:
            return decimals_;
    }
}

void TKwMask::SetDecimals(int decimals) {
    if (take_ == TKwMaskTake::mtaNone && decimals != decimals_)
        Changed(text_, size_, decimals, dateYear_);
}

TKwDateYear TKwMask::DateYear() const {
    switch (take_) {
        case TKwMaskTake::mtaApplication:
            return KwApplicationSettings().maskDateYear;
        case TKwMaskTake::mtaForm:
            return FormDefaults().value_or(TKwMaskDefaults()).dateYear;
        default:
            return dateYear_;
    }
}

void TKwMask::SetDateYear(TKwDateYear dateYear) {
    if (take_ == TKwMaskTake::mtaNone && dateYear != dateYear_)
        Changed(text_, size_, decimals_, dateYear);
}

void TKwMask::SetText(const String& text) {
    if (text != text_)
        Changed(text, size_, decimals_, dateYear_);
}

void TKwMask::GetInfo(TKwMaskInfo& info, const TKwFormatSettings& settings) const {
    String source;
    if (const auto* owner = dynamic_cast<const TComponent*>(owner_))
        source = owner->Name();
    KwMaskScan(source, info, GetDataType(), text_, DateYear(), settings);
}

bool TKwMask::HasDate() const {
    TKwMaskInfo info;
    GetInfo(info);
    return info.HasDate();
}

bool TKwMask::HasTime() const {
    TKwMaskInfo info;
    GetInfo(info);
    return info.HasTime();
}

void TKwMask::UpdateMask(const String& text, int size, int decimals, TKwDateYear dateYear) {
    text_ = text;
    size_ = size;
    decimals_ = decimals;
    dateYear_ = dateYear;
}

}  // namespace kw
