#pragma once

#include <cstdint>
#include <optional>

#include "platform/core/persistent.h"
#include "util/format_settings.h"
#include "util/kw_types.h"
#include "util/mask_info.h"

namespace kw {

// Where a mask takes its decimals and year digits from.
enum class TKwMaskTake : std::uint8_t { mtaNone, mtaApplication, mtaForm };

struct TKwMaskDefaults {
    int decimals = 0;
    TKwDateYear dateYear = TKwDateYear::dyeYear4;
};

// How a control's value is typed, shown and read back: the mask text, the field width, the
// decimals and the year digits. Controls derive from it to know their value kind and to
// re-format themselves when the mask changes (UpdateMask).
class TKwMask : public TPersistent {
    KW_CLASS(TKwMask)
public:
    explicit TKwMask(TPersistent* owner = nullptr);

    TPersistent* GetOwner() const override { return owner_; }
    // From another mask: its value kind, text, size, decimals and year digits (not Take).
    void Assign(const TPersistent* source) override;

    TKwMaskTake Take() const { return take_; }
    void SetTake(TKwMaskTake take);
    int Size() const { return size_; }
    void SetSize(int size);
    // The decimals and year digits in effect, following Take.
    int Decimals() const;
    void SetDecimals(int decimals);
    TKwDateYear DateYear() const;
    void SetDateYear(TKwDateYear dateYear);
    const String& Text() const { return text_; }
    void SetText(const String& text);

    // The scan of Text for the value kind and year digits in effect.
    void GetInfo(TKwMaskInfo& info,
                 const TKwFormatSettings& settings = KwApplicationSettings()) const;
    bool HasDate() const;
    bool HasTime() const;

    // True while the owner is being read from a stream: setters then only store.
    virtual bool LoadingProps() const { return false; }
    virtual TKwDataType GetDataType() const { return TKwDataType::dtyString; }
    virtual void SetDataType(TKwDataType dataType) {}
    virtual bool ModifyDataType() const { return true; }
    // Stores the four values; a control's mask overrides it to re-format the control.
    virtual void UpdateMask(const String& text, int size, int decimals, TKwDateYear dateYear);
    // The owner form companion's mask decimals and year digits, for mtaForm; none by default.
    virtual std::optional<TKwMaskDefaults> FormDefaults() const { return std::nullopt; }

private:
    void Changed(const String& text, int size, int decimals, TKwDateYear dateYear);

    TPersistent* owner_;
    String text_;
    int size_ = 0;
    int decimals_ = 0;
    TKwDateYear dateYear_ = TKwDateYear::dyeYear4;
    TKwMaskTake take_ = TKwMaskTake::mtaNone;
};

}  // namespace kw
