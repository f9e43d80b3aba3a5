#pragma once

#include <QVector>
#include <optional>

#include "style/TwipsRect.h"

namespace ztgl::style {

// One command button as the layout sees it.
struct ButtonSlot {
    int width = 0;           // twips
    bool takesPart = false;  // see ButtonRowLayout::takesPart
};

// Where the head of a working window goes, in twips.
struct HeadGeometry {
    // Per button, in array order: the new place, or nothing when the button keeps its place.
    QVector<std::optional<TwipsRect>> buttons;
    int placedWidth = 0;  // W: the summed widths of the placed buttons
    TwipsRect band;       // the band picture across the top
    TwipsRect strip;      // the strip under the band
    TwipsRect plate;      // the rounded plate behind the buttons
    int titleLeft = 0;    // the bold title (it sizes itself to its text)
    int titleTop = 0;
    // The line in the plate's colour along the strip's top edge where the plate meets the strip,
    // so that plate and strip read as one shape.
    int lineLeft = 0;
    int lineRight = 0;
    int lineTop = 0;
};

// The head of a working window: the command buttons in one row from the right edge leftwards in
// array order, the plate around them, the band, the strip and the title. Pure arithmetic on twips.
class ButtonRowLayout {
public:
    static constexpr int kButtonTop = 120;
    static constexpr int kButtonHeight = 615;
    static constexpr int kRightMargin = 600;

    // During load (window not yet visible) every button takes part; afterwards only visible ones,
    // so a button hidden later keeps its place and leaves no gap in the count.
    static bool takesPart(bool buttonVisible, bool windowVisible) { return buttonVisible || !windowVisible; }

    // innerWidth: the window's client width; outerWidth: its width with the frame.
    static HeadGeometry compute(const QVector<ButtonSlot>& buttons, int innerWidth, int outerWidth);
};

}  // namespace ztgl::style
