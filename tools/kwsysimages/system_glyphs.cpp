#include "kwsysimages/system_glyphs.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace kwsysimages {

namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kInk = 0xFF202020u;
constexpr std::uint32_t kGrey = 0xFF5C5C5Cu;
constexpr std::uint32_t kGreen = 0xFF1E9E3Au;
constexpr std::uint32_t kRed = 0xFFD23B2Eu;
constexpr std::uint32_t kBlue = 0xFF2B6CC4u;
constexpr std::uint32_t kNavy = 0xFF2B4F8Cu;
constexpr std::uint32_t kOrange = 0xFFE08A1Eu;

constexpr TPoint2 kIconCentre{16, 16};
constexpr TPoint2 kGlyphCentre{8, 8};

// --- Shapes shared by several glyphs, in a 16-pixel box unless scaled -------------------------

TShape Scaled(TShape shape, double factor, TPoint2 offset = {}) {
    for (auto* polygons : {&shape.solids, &shape.holes}) {
        for (TPolygon& polygon : *polygons) {
            for (TPoint2& p : polygon)
                p = {p.x * factor + offset.x, p.y * factor + offset.y};
        }
    }
    return shape;
}

TShape CheckMark() {
    return Stroke({{3.5, 8.5}, {6.5, 11.5}, {12.5, 4.5}}, 2.4);
}

TShape Cross() {
    return Stroke({{4.5, 4.5}, {11.5, 11.5}}, 2.4).Add(Stroke({{11.5, 4.5}, {4.5, 11.5}}, 2.4));
}

// An arc over the top, a stem and a dot.
TShape QuestionMark() {
    TPolygon hook = ArcPoints({8, 5.6}, 2.8, 170, -50);
    hook.push_back({8, 9.2});
    hook.push_back({8, 10});
    return Stroke(hook, 2.1).Add(Disc({8, 13.1}, 1.25));
}

TShape Plus() {
    return Rect(7, 3, 9, 13).Add(Rect(3, 7, 13, 9));
}

TShape Minus() {
    return Rect(3, 7, 13, 9);
}

TShape LeftTriangle(double tipX, double baseX) {
    return Polygon({{baseX, 3.5}, {baseX, 12.5}, {tipX, 8}});
}

// Message icons: a disc or a triangle with a darker rim, a white or black sign on it.
TGlyph RimmedDisc(std::uint32_t rim, std::uint32_t face, TShape sign) {
    return {
        {Disc(kIconCentre, 15), rim}, {Disc(kIconCentre, 13.6), face}, {std::move(sign), kWhite}};
}

// --- Message icons, 32 pixels ------------------------------------------------------------------

TGlyph WarningIcon() {
    return {
        {Polygon({{16, 2}, {30.5, 28.5}, {1.5, 28.5}}), 0xFF8A5A00u},
        {Polygon({{16, 4.9}, {28.2, 27.2}, {3.8, 27.2}}), 0xFFFFC928u},
        {Polygon({{14.4, 10.5}, {17.6, 10.5}, {16.9, 20}, {15.1, 20}}).Add(Disc({16, 23.6}, 1.8)),
         kInk}};
}

TGlyph ErrorIcon() {
    return RimmedDisc(0xFFA01818u, 0xFFE03A32u, Scaled(Cross(), 2));
}

TGlyph InformationIcon() {
    return RimmedDisc(0xFF1F4E9Au, 0xFF3D7BD9u,
                      Disc({16, 9.2}, 2.1).Add(Stroke({{16, 14.5}, {16, 23.5}}, 3.4)));
}

TGlyph ConfirmationIcon() {
    return RimmedDisc(0xFF1D5C8Cu, 0xFF3A8FD0u, Scaled(QuestionMark(), 1.6, {3.2, 2.2}));
}

// --- Button kinds, 16 pixels -------------------------------------------------------------------

TGlyph YesGlyph() {
    return {{Disc(kGlyphCentre, 7), kGreen}, {Scaled(CheckMark(), 0.7, {2.6, 2.4}), kWhite}};
}

TGlyph NoGlyph() {
    return {{Ring(kGlyphCentre, 7, 5.1), kRed}, {Stroke({{4.2, 11.8}, {11.8, 4.2}}, 1.9), kRed}};
}

// A door frame open to the right with an arrow leaving it.
TGlyph CloseGlyph() {
    return {
        {Stroke({{9, 3}, {3, 3}, {3, 13}, {9, 13}}, 1.6), kGrey},
        {Stroke({{6, 8}, {11, 8}}, 1.8).Add(Polygon({{10.5, 4.8}, {14, 8}, {10.5, 11.2}})), kBlue}};
}

TGlyph AbortGlyph() {
    return {{RegularPolygon(kGlyphCentre, 7, 8, 22.5), 0xFFC62828u}, {Rect(4, 7, 12, 9), kWhite}};
}

// An arrow hopping over a block.
TGlyph IgnoreGlyph() {
    return {{Rect(5.5, 11, 10.5, 14), kGrey}, {CircularArrow({8, 10}, 5, 1.8, 180, 5, 2.4), kBlue}};
}

TGlyph AllGlyph() {
    return {{Stroke({{2.5, 8.5}, {5, 11}, {9.5, 5}}, 2)
                 .Add(Stroke({{7, 8.5}, {9.5, 11}, {13.8, 4.5}}, 2)),
             kGreen}};
}

// An arrow going down into a tray.
TGlyph CommitGlyph() {
    return {
        {Stroke({{2.6, 9.5}, {2.6, 13.2}, {13.4, 13.2}, {13.4, 9.5}}, 1.6), kGrey},
        {Stroke({{8, 2.5}, {8, 7}}, 2).Add(Polygon({{4.5, 6.5}, {11.5, 6.5}, {8, 11}})), kGreen}};
}

TGlyph DetailGlyph() {
    return {{Disc({6.8, 6.8}, 4.2), 0x80A8D0F0u},
            {Ring({6.8, 6.8}, 5, 3.6).Add(Stroke({{10.4, 10.4}, {13.4, 13.4}}, 2.4)), kInk}};
}

// --- Navigator buttons, 16 pixels --------------------------------------------------------------

TGlyph Pencil() {
    // Along the axis from the point at the lower left to the top right.
    const TPoint2 tip{2.8, 13.2};
    const double ux = std::sqrt(0.5), uy = -std::sqrt(0.5);
    auto at = [&](double along, double across) {
        return TPoint2{tip.x + ux * along - uy * across, tip.y + uy * along + ux * across};
    };
    return {{Polygon({at(3, -1.9), at(11.5, -1.9), at(11.5, 1.9), at(3, 1.9)}), kOrange},
            {Polygon({at(11.9, -1.9), at(13.6, -1.9), at(13.6, 1.9), at(11.9, 1.9)}), kRed},
            {Polygon({at(0, 0), at(3, -1.9), at(3, 1.9)}), 0xFFE8C9A0u},
            {Polygon({at(0, 0), at(1.2, -0.75), at(1.2, 0.75)}), kInk}};
}

TGlyph Refresh() {
    return {{CircularArrow(kGlyphCentre, 4.8, 1.9, 100, -190, 2.6), kBlue}};
}

TGlyph Append() {
    return {{Scaled(Plus(), 0.8, {1.6, 0}), kGreen}, {Rect(3, 11.5, 13, 13.5), kGrey}};
}

struct TNavigatorGlyph {
    int colourId, blackId, whiteId;
    std::function<TGlyph()> draw;
};

const std::vector<TNavigatorGlyph>& NavigatorGlyphs() {
    static const std::vector<TNavigatorGlyph> glyphs{
        {75, 128, 138,
         [] {
             return TGlyph{{Rect(3, 3.5, 5, 12.5).Add(LeftTriangle(6, 12.5)), kNavy}};
         }},
        {76, 129, 139,
         [] {
             return TGlyph{{LeftTriangle(4.5, 11), kNavy}};
         }},
        {77, 130, 140,
         [] {
             return TGlyph{{LeftTriangle(11.5, 5), kNavy}};
         }},
        {78, 131, 141,
         [] {
             return TGlyph{{Rect(11, 3.5, 13, 12.5).Add(LeftTriangle(10, 3.5)), kNavy}};
         }},
        {79, 132, 142,
         [] {
             return TGlyph{{Plus(), kGreen}};
         }},
        {80, 133, 143,
         [] {
             return TGlyph{{Minus(), kRed}};
         }},
        {81, 134, 144, Pencil},
        {82, 135, 145,
         [] {
             return TGlyph{{CheckMark(), kGreen}};
         }},
        {83, 136, 146,
         [] {
             return TGlyph{{Cross(), kRed}};
         }},
        {84, 137, 147, Refresh},
        {165, 166, 167, Append},
    };
    return glyphs;
}

}  // namespace

std::vector<TSystemGlyph> SystemGlyphs() {
    std::vector<TSystemGlyph> images{
        {2, kIconSize, WarningIcon()},
        {3, kIconSize, ErrorIcon()},
        {4, kIconSize, InformationIcon()},
        {5, kIconSize, ConfirmationIcon()},
        {9, kGlyphSize, {{CheckMark(), kGreen}}},
        {10, kGlyphSize, {{Cross(), kRed}}},
        {11, kGlyphSize, {{QuestionMark(), kBlue}}},
        {12, kGlyphSize, YesGlyph()},
        {13, kGlyphSize, NoGlyph()},
        {14, kGlyphSize, CloseGlyph()},
        {15, kGlyphSize, AbortGlyph()},
        {16, kGlyphSize, {{CircularArrow(kGlyphCentre, 4.6, 2, 110, -190, 2.4), kGreen}}},
        {17, kGlyphSize, IgnoreGlyph()},
        {18, kGlyphSize, AllGlyph()},
        {19, kGlyphSize, CommitGlyph()},
        {20, kGlyphSize, {{CircularArrow({8.5, 9}, 4.5, 2, -70, 195, 2.6), kOrange}}},
        {21, kGlyphSize, DetailGlyph()},
    };
    for (const TNavigatorGlyph& navigator : NavigatorGlyphs()) {
        const TGlyph glyph = navigator.draw();
        images.push_back({navigator.colourId, kGlyphSize, glyph});
        images.push_back({navigator.blackId, kGlyphSize, Recoloured(glyph, kBlack)});
        images.push_back({navigator.whiteId, kGlyphSize, Recoloured(glyph, kWhite)});
    }
    std::sort(images.begin(), images.end(),
              [](const TSystemGlyph& a, const TSystemGlyph& b) { return a.id < b.id; });
    return images;
}

}  // namespace kwsysimages
