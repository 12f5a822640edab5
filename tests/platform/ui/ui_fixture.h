#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/headless.h"
#include "platform/ui/input.h"
#include "platform/ui/paint_context.h"
#include "platform/ui/screen.h"
#include "platform/ui/system.h"
#include "platform/ui/timers.h"

namespace kw::test {

// Every test starts from a fresh window layer on the headless back-end.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override { ResetWindowLayer(); }
    void TearDown() override { ResetWindowLayer(); }
};

// Appends what happens to it to a shared log, as "name:event".
template <class Base>
class Logged : public Base {
public:
    Logged(TComponent* owner, std::vector<std::string>& log, std::string name)
        : Base(owner), log_(log), name_(std::move(name)) {
        this->OnClick = [this](TObject*) { Note("click"); };
        this->OnDblClick = [this](TObject*) { Note("dblclick"); };
        this->OnMouseDown = [this](TObject*, TMouseButton, TShiftState s, int x, int y) {
            Note((s & ssDouble) ? "down2" : "down");
        };
        this->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { Note("up"); };
        this->OnMouseEnter = [this](TObject*) { Note("enter"); };
        this->OnMouseLeave = [this](TObject*) { Note("leave"); };
    }
    void Note(const std::string& what) { log_.push_back(name_ + ":" + what); }
    TColor fill = clWhite;
    int paints = 0;
    TRect lastPaintClip;

protected:
    std::vector<std::string>& log_;
    std::string name_;
};

}  // namespace kw::test
