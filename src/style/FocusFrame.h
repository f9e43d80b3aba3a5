#pragma once

#include <QString>
#include <optional>

#include "style/Rgb.h"
#include "style/TwipsRect.h"

namespace ztgl::style {

// How an input box's frame shape looks.
struct FrameLook {
    TwipsRect rect;       // the shape, around the box
    Rgb border;           // frame colour
    int borderWidth = 1;  // pixels
    Rgb fill;             // background of the shape and of the box
};

// The drawn frame of a flat input box: at rest thin and grey, 15 twips outside the box; with the
// focus red, two pixels wide, 20 twips outside, on light yellow.
class FocusFrame {
public:
    // The frame shape's name: "shp" + the box's name, + its index when the box belongs to an array
    // ("shptxtPwd", "shpTxtDB2").
    static QString shapeName(const QString& controlName, std::optional<int> index = std::nullopt);
    static FrameLook atRest(const TwipsRect& control);
    static FrameLook withFocus(const TwipsRect& control);
};

}  // namespace ztgl::style
