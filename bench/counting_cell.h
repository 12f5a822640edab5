#pragma once

#include "platform/ui/control.h"
#include "platform/ui/paint_context.h"

namespace kw::bench {

// A painted child that fills its rectangle in its colour and counts its paints, so a benchmark
// can tell that its scene really repainted.
class CountingCell : public TGraphicControl {
public:
    CountingCell(TComponent* owner, int& paints) : TGraphicControl(owner), paints_(paints) {}

protected:
    void Paint(const TPaintContext& context) override {
        ++paints_;
        context.FillRect(TRect(0, 0, Width(), Height()), Color());
    }

private:
    int& paints_;
};

}  // namespace kw::bench
