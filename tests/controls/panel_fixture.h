#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/controls_state.h"
#include "controls/single_panel.h"
#include "display/display_package.h"
#include "display/set_references.h"
#include "display/state.h"
#include "drawing/state.h"
#include "drawing/transparent_background.h"
#include "framework/application.h"
#include "framework/events.h"
#include "framework/state.h"
#include "packages/privileges_package.h"
#include "packages/state.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/device.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"

namespace kw::test {

// A fresh window layer, device, framework, packages, display and controls state per test, and
// a borderless form to put panels on.
class PanelTest : public ::testing::Test {
protected:
    void SetUp() override { ResetAll(); }
    void TearDown() override {
        form_.reset();
        app_.reset();
        ResetAll();
    }
    static void ResetAll() {
        ResetWindowLayer();
        KwResetFrameworkState();
        KwResetPackagesState();
        KwResetDisplayState();
        KwResetDrawingState();
        KwResetControlsState();
        ResetGdiForTesting();
    }

    TForm& Form(int w = 200, int h = 150) {
        form_ = std::make_unique<TForm>();
        form_->SetBorderStyle(TFormBorderStyle::bsNone);
        form_->SetBounds(0, 0, w, h);
        form_->SetColor(clWhite);
        return *form_;
    }
    template <class P = TKwSinglePanel>
    P& Panel(TWinControl& parent, TRect bounds) {
        P& p = Create<P>(*form_);
        p.SetParent(&parent);
        p.SetBoundsRect(bounds);
        return p;
    }
    void Show() {
        form_->Show();
        Application().ProcessMessages();
    }
    TColor At(int x, int y) const {
        return ArgbToColor(
                   reinterpret_cast<const std::uint32_t*>(form_->Surface()->ScanLine(y))[x]) &
               0xFFFFFF;
    }
    TKwCApplication& App() {
        if (!app_)
            app_ = std::make_unique<TKwCApplication>();
        return *app_;
    }
    TKwPkgDisplay& Display() {
        TKwPkgDisplay* display = KwAppDisplay(App());
        return display != nullptr ? *display : Create<TKwPkgDisplay>(App());
    }
    // Gives `panel` a vertical gradient background set named `name`.
    void Gradient(TKwSinglePanel& panel, const String& name, TColor from, TColor to) {
        auto& set = Display().SetsBackGround().Add(name);
        set.SetStyle(bgsDown);
        set.SetStartGraColor(from);
        set.SetEndGraColor(to);
        panel.SetBackGround().SetName(name);
    }
    // Records the master-message events a control receives.
    static void Listen(TControl& control, std::vector<int>& events) {
        auto inner = control.WindowProc;
        control.WindowProc = [inner, &events](TMessage& m) {
            if (m.Msg == KwMasterMessage())
                events.push_back(static_cast<int>(m.WParam));
            inner(m);
        };
    }

    std::unique_ptr<TKwCApplication> app_;
    std::unique_ptr<TForm> form_;
};

}  // namespace kw::test
