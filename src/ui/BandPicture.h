#pragma once

#include <QPixmap>

namespace ztgl::gui {

// The picture of the band across the top of every working window, 1500 × 53 pixels; the band
// stretches it to its own size. Drawn once, on first use.
class BandPicture {
public:
    static constexpr int kWidth = 1500;
    static constexpr int kHeight = 53;
    static QPixmap picture();
};

}  // namespace ztgl::gui
