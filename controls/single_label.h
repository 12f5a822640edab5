#pragma once

#include "platform/ui/control.h"

namespace kw {

// The library's label as a panel attaches it beside itself: one line of value text in the
// library's default font and text colour, sized to that text, in its disabled look while disabled.
class TKwSingleLabel : public TGraphicControl {
    KW_CLASS(TKwSingleLabel)
public:
    explicit TKwSingleLabel(TComponent* owner = nullptr);

    const String& Value() const { return value_; }
    void SetValue(const String& value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    // Fits the label to its text and repaints it.
    void UpdateControl();

protected:
    void Paint(const TPaintContext& context) override;

private:
    String value_;
    bool readOnly_ = false;
};

}  // namespace kw
