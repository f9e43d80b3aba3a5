#pragma once

namespace ztgl::style {

// A rectangle in twips (15 twips = 1 pixel at 96 dpi), as window layouts are written.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
    // The rectangle grown by `by` twips on every side.
    constexpr TwipsRect grown(int by) const { return {left - by, top - by, width + 2 * by, height + 2 * by}; }
    constexpr bool operator==(const TwipsRect& o) const {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

}  // namespace ztgl::style
