#pragma once

#include <QProxyStyle>

namespace ztgl::gui {

// The program's widget style: the platform's own, except that password boxes mask every
// character with "*" as the operators know it from the Windows program (Qt's default is "●").
class ProgramStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

}  // namespace ztgl::gui
