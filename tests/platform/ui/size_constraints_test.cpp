#include "platform/ui/size_constraints.h"
#include "platform/core/exception.h"
#include "platform/ui/panel.h"
#include "ui_fixture.h"

namespace kw::test {
namespace {

class ConstraintsTest : public UiTest {
protected:
    void SetUp() override {
        form.SetBorderStyle(TFormBorderStyle::bsNone);
        form.SetBounds(0, 0, 300, 200);
    }
    TForm form;
};

TEST_F(ConstraintsTest, SetBoundsKeepsWindowedAndGraphicControlsWithinTheirLimits) {
    TPanel& panel = Create<TPanel>(form);
    TGraphicControl& graphic = Create<TGraphicControl>(form);
    for (TControl* c : {static_cast<TControl*>(&panel), static_cast<TControl*>(&graphic)}) {
        c->SetParent(&form);
        c->Constraints().SetMinWidth(30);
        c->Constraints().SetMaxHeight(40);
        c->SetBounds(5, 6, 10, 90);
        EXPECT_EQ(c->BoundsRect(), TRect::Bounds(5, 6, 30, 40)) << c->ClassName().size();
        // A limit set later applies to the size the control has now.
        c->Constraints().SetMaxWidth(20);
        EXPECT_EQ(c->Width(), 20);
        EXPECT_EQ(c->Constraints().MinWidth(), 20);
        c->Constraints().SetMaxWidth(0);
        c->SetWidth(500);
        EXPECT_EQ(c->Width(), 500);
    }
}

TEST_F(ConstraintsTest, AlignmentHonoursTheLimitsOfEachChild) {
    TPanel& top = Create<TPanel>(form);
    top.SetParent(&form);
    top.SetHeight(30);
    top.Constraints().SetMaxWidth(120);
    top.SetAlign(TAlign::alTop);
    TPanel& client = Create<TPanel>(form);
    client.SetParent(&form);
    client.Constraints().SetMaxHeight(50);
    client.Constraints().SetMinWidth(400);
    client.SetAlign(TAlign::alClient);
    EXPECT_EQ(top.BoundsRect(), TRect::Bounds(0, 0, 120, 30));
    EXPECT_EQ(client.BoundsRect(), TRect::Bounds(0, 30, 400, 50));
    form.SetBounds(0, 0, 100, 100);
    EXPECT_EQ(top.Width(), 100);
    EXPECT_EQ(client.BoundsRect(), TRect::Bounds(0, 30, 400, 50));
}

TEST_F(ConstraintsTest, LimitsStayConsistentAndRejectNegativeValues) {
    TSizeConstraints c;
    int changes = 0;
    c.OnChange = [&](TSizeConstraints&) { ++changes; };
    c.SetMaxHeight(50);
    c.SetMinHeight(80);  // raises the maximum with it
    EXPECT_EQ(c.MaxHeight(), 80);
    c.SetMaxHeight(80);
    EXPECT_EQ(changes, 2);
    EXPECT_THROW(c.SetMinWidth(-1), EInvalidArgument);
    EXPECT_EQ(c.ConstrainHeight(10), 80);
}

}  // namespace
}  // namespace kw::test
