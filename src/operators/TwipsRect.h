#pragma once

namespace ztgl {

// A control's place in its window, in twips (15 twips = 1 pixel at 96 dpi).
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const TwipsRect& o) const {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

}  // namespace ztgl
