#pragma once

#include <cstdint>

#include "drawing/styles/style_enums.h"

namespace kw {

// How an image button shows its edge: a 3D halo, a shadow halo, a flat frame, or a flat frame
// whose pressed face shows the background's grid.
enum TKwDrawButtonStyle : std::uint8_t { dbsButton, dbsShadow, dbsFlat, dbsBackFlat };
enum TKwTypeBar : std::uint8_t { tbaBlock, tbaSolid, tbaIndeterminate };
// The edge a progress bar fills away from: pboRight fills from the left towards the right.
enum TKwProgressBarOrientation : std::uint8_t { pboLeft, pboRight, pboUp, pboDown };
enum TKwMoveDirection : std::uint8_t {
    mvdUp,
    mvdDown,
    mvdLeft,
    mvdRight,
    mvdUpLeft,
    mvdUpRight,
    mvdDownLeft,
    mvdDownRight,
    mvdMove,
    mvdNone
};

}  // namespace kw
