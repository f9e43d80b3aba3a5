#include "style/TitleFont.h"

namespace ztgl::style {

TitleFont::Face TitleFont::choose(const std::function<bool(const QString& family)>& installed) {
    const Face faces[] = {
        {QStringLiteral("黑体"), false},
        {QStringLiteral("SimHei"), false},  // the same face under its Latin name
        {QStringLiteral("WenQuanYi Zen Hei"), false},
        {QStringLiteral("Noto Sans CJK SC"), true},
    };
    for (const Face& face : faces) {
        if (installed(face.family))
            return face;
    }
    return faces[0];
}

}  // namespace ztgl::style
