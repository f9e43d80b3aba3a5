#include "style/FocusFrame.h"

#include "style/StyleColours.h"

namespace ztgl::style {

QString FocusFrame::shapeName(const QString& controlName, std::optional<int> index) {
    QString name = QStringLiteral("shp") + controlName;
    if (index)
        name += QString::number(*index);
    return name;
}

FrameLook FocusFrame::atRest(const TwipsRect& control) {
    return {control.grown(15), colours::kInputFrame, 1, colours::kInputAtRest};
}

FrameLook FocusFrame::withFocus(const TwipsRect& control) {
    return {control.grown(20), colours::kFocusFrame, 2, colours::kInputFocused};
}

}  // namespace ztgl::style
