#pragma once

#include <QString>
#include <functional>

namespace ztgl::style {

// The face of the window title: "黑体" 14 pt. Where no font of that name is installed, a Hei
// (heavy sans) Chinese face that Debian ships stands in: WenQuanYi Zen Hei (fonts-wqy-zenhei,
// installed by ztgl.sh), else the bold weight of Noto Sans CJK SC (fonts-noto-cjk). Never the
// window font made bold: its Song-like shapes are not the black face the title band wants.
class TitleFont {
public:
    static constexpr int kPointSize = 14;

    struct Face {
        QString family;
        bool bold = false;
    };

    // The first installed of the faces above; "黑体" itself when none is, for the font machinery
    // to substitute.
    static Face choose(const std::function<bool(const QString& family)>& installed);
};

}  // namespace ztgl::style
