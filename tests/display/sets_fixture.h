#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "display/default_sets.h"
#include "display/display_package.h"
#include "display/image_package.h"
#include "display/memory_image.h"
#include "display/set_references.h"
#include "display/state.h"
#include "framework/application.h"
#include "framework/errors.h"
#include "framework/link.h"
#include "framework/state.h"
#include "package_bytes.h"
#include "packages/package_scopes.h"
#include "packages/state.h"
#include "platform/core/stream.h"
#include "platform/ui/application.h"
#include "platform/ui/screen.h"

namespace kw {

// Clean process-wide state around each test, and an application object that owns a display
// package on demand.
class SetsTest : public testing::Test {
protected:
    void SetUp() override { ResetAll(); }
    void TearDown() override {
        app_.reset();
        ResetAll();
    }
    static void ResetAll() {
        KwResetFrameworkState();
        KwResetPackagesState();
        KwResetDisplayState();
        Application().Reset();
        Screen().SetPixelsPerInch(96);
        KwSetMessageLookup(nullptr);
    }

    TKwPkgDisplay& StartApplication() {
        app_ = std::make_unique<TKwCApplication>();
        return DisplayOf(*app_);
    }
    // The application object's own display package, given one when it has none.
    static TKwPkgDisplay& DisplayOf(TKwCApplication& app) {
        TKwPkgDisplay* display = KwAppDisplay(app);
        return display != nullptr ? *display : Create<TKwPkgDisplay>(app);
    }

    std::unique_ptr<TKwCApplication> app_;
};

// Stands in for a control: its references tell it about changes, and it repaints when the
// screen update that holds the changes ends.
struct Repaints {
    TKwLinkEvt link{nullptr, kwInitControl};
    int notifications = 0;
    int notificationsOutsideUpdate = 0;
    int repaints = 0;

    Repaints() {
        link.Init();
        link.OnUpdate = [this](TKwLinkEvt&) { ++repaints; };
    }
    void Watch(TKwSetReference& ref) {
        ref.OnChange = [this](TKwSetReference&) {
            ++notifications;
            if (KwScreen().Update())
                ++notificationsOutsideUpdate;
            link.Change();
        };
    }
};

}  // namespace kw
