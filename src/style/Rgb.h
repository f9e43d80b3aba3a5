#pragma once

namespace ztgl::style {

// A colour as the windows' layouts give it: red, green and blue, 0 to 255 each.
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;

    // The platform's single colour value (red + green·256 + blue·65536), e.g. 5150358 for the frame colour.
    constexpr int colourValue() const { return red + green * 256 + blue * 65536; }
    constexpr bool operator==(const Rgb& o) const {
        return red == o.red && green == o.green && blue == o.blue;
    }
    constexpr bool operator!=(const Rgb& o) const { return !(*this == o); }
};

}  // namespace ztgl::style
