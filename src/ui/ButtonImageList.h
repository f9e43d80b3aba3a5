#pragma once

#include <QIcon>
#include <QPixmap>

namespace ztgl::gui {

// The 16 × 16 pictures of the command buttons, numbered 1 to 18 in the order of the caption table
// (previous, next, new, save, abandon, modify, delete, query, print, close, finish, confirm, collect,
// lend, void, advanced, statistics, draft), each in a normal and a disabled (grey) form. They are
// drawn once, on first use.
class ButtonImageList {
public:
    static constexpr int kSize = 16;

    // Picture `number` (1-based); a null pixmap for a number outside 1..18.
    static QPixmap picture(int number, bool disabled = false);
    // Both forms of picture `number`, for a button's normal and disabled state.
    static QIcon icon(int number);
};

}  // namespace ztgl::gui
