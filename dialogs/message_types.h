#pragma once

#include <cstdint>
#include <vector>

#include "controls/button_kind.h"

namespace kw {

enum TKwMessageType : std::uint8_t { mtyWarning, mtyError, mtyInformation, mtyConfirmation };

// Where a dialog is centred.
enum TKwCenterOptions : std::uint8_t { ceoNone, ceoScreen, ceoPriorWindow, ceoMainWindow };

using TKwButtonKinds = std::vector<TKwButtonKind>;

// The "System" label that captions a message type, and the "System" image it shows.
constexpr int KwMessageTypeLabelId(TKwMessageType type) {
    return 16 + type;
}
constexpr int KwMessageTypeImageId(TKwMessageType type) {
    return 2 + type;
}

}  // namespace kw
