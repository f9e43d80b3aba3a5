#pragma once

#include "style/Rgb.h"

// The colours of the common window look.
namespace ztgl::style::colours {

inline constexpr Rgb kFrame{150, 150, 78};          // common frame colour of the shapes
inline constexpr Rgb kPlate{224, 224, 224};         // button plate, strip, its line and the buttons
inline constexpr Rgb kWindow{238, 242, 221};        // window background
inline constexpr Rgb kInputFrame{171, 169, 146};    // input-box frame at rest
inline constexpr Rgb kFocusFrame{255, 0, 0};        // input-box frame with the focus
inline constexpr Rgb kInputAtRest{255, 255, 255};   // input box and its frame at rest
inline constexpr Rgb kInputFocused{255, 255, 192};  // input box and its frame with the focus
inline constexpr Rgb kTitleText{0, 0, 0};           // the bold window title

}  // namespace ztgl::style::colours
