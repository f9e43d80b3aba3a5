#include "process/ProductSettings.h"

#include "process/IniFile.h"
#include "process/Globals.h"

namespace ztgl {
namespace {

QString setting(const char* key, const QString& builtIn) {
    const QString value = Read_Ini(QStringLiteral("BASESETUP"), QString::fromLatin1(key), gIniFile);
    return value.isEmpty() ? builtIn : value;
}

}  // namespace

QString DefaultProductTitle() {
    return QStringLiteral("商业进销存");
}

QString ProductTitle() {
    return setting("TITLE", DefaultProductTitle()).left(kProductTitleMaxLength);
}

QString MakerWebSite() {
    return setting("WEBSITE", QStringLiteral("http://www.zavrin.com"));
}

QString LoginPictureKey() {
    return setting("LOGINPIC", QStringLiteral("201"));
}

QString ProgramTitle(const QString& productTitle) {
    return QStringLiteral("Zavrin行业管理软件之") + productTitle + QStringLiteral("-帐套管理");
}

}  // namespace ztgl
