#include "ui/GuiSetup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include "ui/ProgramStyle.h"

namespace ztgl::gui {
namespace {
const auto kTranslatorName = QStringLiteral("ztglQtBaseZhCN");
}

bool InstallChineseUi(QApplication& app) {
    // Without the family named, the font machinery picks the Japanese shapes of the CJK font.
    QFont font = app.font();
    font.setFamilies({QStringLiteral("Noto Sans CJK SC")});
    QApplication::setFont(font);
    if (!qobject_cast<ProgramStyle*>(QApplication::style())) QApplication::setStyle(new ProgramStyle());

    // Installed once per application, however often this is called.
    if (app.findChild<QTranslator*>(kTranslatorName, Qt::FindDirectChildrenOnly))
        return true;
    auto* translator = new QTranslator(&app);
    translator->setObjectName(kTranslatorName);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace ztgl::gui
