#pragma once

#include <QString>
#include <optional>

namespace ztgl::style {

// The picture of a command button, chosen by its caption so that the same command looks the same in
// every window. Captions are compared exactly, access key included ("关闭(&Q)" has one, "关闭(&X)" none).
class ButtonPictures {
public:
    static constexpr int kCount = 18;
    // The 1-based picture number of a caption, or nothing.
    static std::optional<int> pictureNumber(const QString& caption);
};

}  // namespace ztgl::style
