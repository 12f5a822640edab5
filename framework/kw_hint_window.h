#pragma once

#include "platform/ui/hint_window.h"

namespace kw {

class TKwCfgHints;

// The hint window the active application object shows hints in: background, frame, font,
// colours, 3D text and skin come from the application's CfgHints, resolved against its display
// package. Without an active application object it looks like the platform's window. A change
// of CfgHints, of the display package or of the active object restyles a shown hint.
class TKwHintWindow : public THintWindow {
    KW_CLASS(TKwHintWindow)
public:
    explicit TKwHintWindow(TComponent* owner = nullptr);

    TRect CalcHintRect(int maxWidth, const String& hint) override;
    // The configuration hints are styled by now, or none.
    static TKwCfgHints* Cfg();

protected:
    void WndProc(TMessage& message) override;
    void Paint(const TPaintContext& context) override;

private:
    // Fits the window to its text in the current style and repaints it.
    void Restyle();
};

}  // namespace kw
