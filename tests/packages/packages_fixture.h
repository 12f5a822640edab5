#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "display/state.h"
#include "framework/application.h"
#include "framework/errors.h"
#include "framework/state.h"
#include "package_bytes.h"
#include "packages/language_package.h"
#include "packages/memory_refs.h"
#include "packages/state.h"
#include "platform/core/stream.h"
#include "platform/text/regional.h"
#include "platform/ui/application.h"

namespace kw {

// Clean process-wide state around each test, and an application object on demand.
class PackagesTest : public testing::Test {
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
        SetRegionalLocale("en_US");
        KwSetMessageLookup(nullptr);
    }

    // An active application object; returns the language package it owns.
    TKwPkgLanguage& StartApplication() {
        app_ = std::make_unique<TKwCApplication>();
        return app_->PkgLanguage();
    }

    std::unique_ptr<TKwCApplication> app_;
};

// Counts the change notifications of references.
struct TChangeCounter {
    int count = 0;
    void Watch(TKwMemoryReference& ref) {
        ref.OnChange = [this](TKwMemoryReference&) { ++count; };
    }
};

}  // namespace kw
