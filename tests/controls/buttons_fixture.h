#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../platform/ui/ui_fixture.h"
#include "display/display_package.h"
#include "display/state.h"
#include "drawing/state.h"
#include "framework/application.h"
#include "framework/errors.h"
#include "framework/state.h"
#include "packages/language_package.h"
#include "packages/state.h"
#include "platform/core/properties.h"
#include "platform/graphics/device.h"
#include "platform/text/unicode.h"
#include "platform/ui/application.h"
#include "platform/ui/headless.h"
#include "platform/ui/screen.h"
#include "test_paths.h"

namespace kw::test {

// A fresh window layer, framework and package state for every test, and a shown form to put
// buttons on.
class ButtonsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAll();
        owned_ = std::make_unique<TForm>();
        form = owned_.get();
        form->SetBounds(100, 100, 320, 200);
        form->SetBorderStyle(TFormBorderStyle::bsNone);
        form->Show();
    }
    void TearDown() override {
        owned_.reset();
        ResetAll();
    }

    static void ResetAll() {
        ResetWindowLayer();
        KwResetFrameworkState();
        KwResetPackagesState();
        KwResetDisplayState();
        KwResetDrawingState();
        KwSetMessageLookup(nullptr);
        ResetGdiForTesting();
    }

    // A reference package file built with the library ("German.lan", "standard.dis").
    static String Reference(const std::string& name) {
        return Utf8ToString(ReferenceDir() + "/" + name);
    }
    void LoadLanguage(TKwCApplication& app, const std::string& name) {
        app.PkgLanguage().LoadFromFile(Reference(name));
    }

    TForm* form = nullptr;

private:
    std::unique_ptr<TForm> owned_;
};

}  // namespace kw::test
