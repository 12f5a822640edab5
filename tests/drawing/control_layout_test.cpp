#include "drawing/control_layout.h"

#include <gtest/gtest.h>

namespace kw {
namespace {

// Image 32 x 20 and text 40 x 10, 4 apart, in a control at (10, 5) of 100 x 30.
const TRect kImage = TRect::Bounds(0, 0, 32, 20);
const TRect kText = TRect::Bounds(0, 0, 40, 10);
const TRect kControl = TRect::Bounds(10, 5, 100, 30);

struct LayoutRow {
    TKwInternalControlLayout layout;
    bool fixed, hasImage, hasText;
    TRect control, image, text;
};

TEST(ControlLayoutTest, PlacesImageAndTextSideBySide) {
    const LayoutRow rows[] = {
        // Auto size: the box is as large as the larger part.
        {iclLeft, false, true, true, {10, 5, 86, 25}, {10, 5, 42, 25}, {46, 5, 86, 25}},
        {iclRight, false, true, true, {10, 5, 86, 25}, {54, 5, 86, 25}, {10, 5, 50, 25}},
        {iclTop, false, true, true, {10, 5, 50, 39}, {10, 5, 50, 25}, {10, 29, 50, 39}},
        {iclBottom, false, true, true, {10, 5, 50, 39}, {10, 19, 50, 39}, {10, 5, 50, 15}},
        {iclOverlay, false, true, true, {10, 5, 50, 25}, {10, 5, 50, 25}, {10, 5, 50, 25}},
        // Fixed: the text gets what the image and the spacing leave.
        {iclLeft, true, true, true, {10, 5, 110, 35}, {10, 5, 42, 35}, {46, 5, 110, 35}},
        {iclRight, true, true, true, {10, 5, 110, 35}, {78, 5, 110, 35}, {10, 5, 74, 35}},
        {iclTop, true, true, true, {10, 5, 110, 35}, {10, 5, 110, 25}, {10, 29, 110, 35}},
        {iclBottom, true, true, true, {10, 5, 110, 35}, {10, 15, 110, 35}, {10, 5, 110, 11}},
        {iclOverlay, true, true, true, {10, 5, 110, 35}, {10, 5, 110, 35}, {10, 5, 110, 35}},
        // A missing part turns any layout into an overlay.
        {iclLeft, false, false, true, {10, 5, 50, 15}, {10, 5, 50, 15}, {10, 5, 50, 15}},
        {iclTop, false, true, false, {10, 5, 42, 25}, {10, 5, 42, 25}, {10, 5, 42, 25}},
        {iclBottom, true, false, true, {10, 5, 110, 35}, {10, 5, 110, 35}, {10, 5, 110, 35}},
        {iclRight, false, false, false, {10, 5, 10, 5}, {10, 5, 10, 5}, {10, 5, 10, 5}},
    };
    for (const LayoutRow& row : rows) {
        SCOPED_TRACE(testing::Message() << int(row.layout) << " fixed " << row.fixed << " image "
                                        << row.hasImage << " text " << row.hasText);
        TRect control = kControl, image = kImage, text = kText;
        KwCalcControlLayout(row.layout, row.fixed, control, image, text, row.hasImage, row.hasText,
                            4);
        EXPECT_EQ(control, row.control);
        EXPECT_EQ(image, row.image);
        EXPECT_EQ(text, row.text);
    }
}

TEST(ControlLayoutTest, FixedControlsCutTheImageAndSpacingFirst) {
    TRect control = TRect::Bounds(0, 0, 30, 22), image = kImage, text = kText;
    KwCalcControlLayout(iclTop, true, control, image, text, true, true, 4);
    EXPECT_EQ(image, TRect(0, 0, 30, 20));
    EXPECT_EQ(text, TRect(0, 22, 30, 22));  // spacing cut to 2, no room for text
    control = TRect::Bounds(0, 0, 20, 22);
    image = kImage;
    text = kText;
    KwCalcControlLayout(iclRight, true, control, image, text, true, true, 4);
    EXPECT_EQ(image, TRect(0, 0, 20, 22));
    EXPECT_EQ(text, TRect(0, 0, 0, 22));
}

TEST(ControlLayoutTest, CentresImageAndTextTogether) {
    const LayoutRow rows[] = {
        {iclLeft, false, true, true, {}, {22, 10, 54, 30}, {58, 15, 98, 25}},
        {iclRight, false, true, true, {}, {66, 10, 98, 30}, {22, 15, 62, 25}},
        // The pair is taller than the control: it sticks out equally at both ends.
        {iclTop, false, true, true, {}, {44, 3, 76, 23}, {40, 27, 80, 37}},
        {iclBottom, false, true, true, {}, {44, 17, 76, 37}, {40, 3, 80, 13}},
        {iclOverlay, false, true, true, {}, {44, 10, 76, 30}, {40, 15, 80, 25}},
        // Without text the image is centred and the spacing ignored.
        {iclTop, false, true, false, {}, {44, 10, 76, 30}, {60, 30, 60, 30}},
        {iclLeft, false, false, true, {}, {40, 20, 40, 20}, {40, 15, 80, 25}},
    };
    for (const LayoutRow& row : rows) {
        SCOPED_TRACE(testing::Message() << int(row.layout) << " " << row.hasImage);
        TRect image = kImage, text = kText;
        KwCalcCenterLayout(row.layout, kControl, image, text, row.hasImage, row.hasText, 4);
        EXPECT_EQ(image, row.image);
        EXPECT_EQ(text, row.text);
    }
    TRect image = TRect(5, 5, 5, 9), text = kText;
    KwCalcCenterLayout(iclLeft, kControl, image, text, true, true, 4);
    EXPECT_EQ(text, TRect(40, 15, 80, 25));  // an empty image counts as none
}

}  // namespace
}  // namespace kw
