#include "style/ButtonRowLayout.h"

#include <cstdlib>

namespace ztgl::style {

HeadGeometry ButtonRowLayout::compute(const QVector<ButtonSlot>& buttons, int innerWidth, int outerWidth) {
    HeadGeometry g;
    g.buttons.resize(buttons.size());
    std::optional<int> lastLeft;
    for (int i = 0; i < buttons.size(); ++i) {
        const ButtonSlot& b = buttons[i];
        if (!b.takesPart)
            continue;
        // The first button's left is taken absolute, so a very narrow window never gets a negative one.
        const int left = lastLeft ? *lastLeft - b.width : std::abs(innerWidth - kRightMargin - b.width);
        g.buttons[i] = TwipsRect{left, kButtonTop, b.width, kButtonHeight};
        g.placedWidth += b.width;
        lastLeft = left;
    }

    g.band = {-15, 0, outerWidth + 45, 630};
    g.strip = {-15, 630, outerWidth + 45, 180};
    g.titleLeft = 180;
    g.titleTop = 105;
    // With no button placed the (empty) plate stands where the first button would begin.
    const int plateAnchor = lastLeft.value_or(innerWidth - kRightMargin);
    g.plate = {plateAnchor - 200, 75, g.placedWidth + 400, 680};
    g.lineLeft = g.plate.left;
    g.lineRight = g.plate.right();
    g.lineTop = g.strip.top;
    return g;
}

}  // namespace ztgl::style
