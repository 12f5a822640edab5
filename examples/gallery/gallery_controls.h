#pragma once

namespace kw {

class TWinControl;

// Live controls of the library under the painted sections: speed buttons in their states, a bit
// button of every kind and panels with each bevel. They resolve their captions and sets like
// any program's controls, so a language or skin loaded at run time restyles them by itself.
// Returns the height the strip takes below `top`.
int KwAddGalleryControls(TWinControl& form, int top, int width);

}  // namespace kw
