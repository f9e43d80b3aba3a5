#pragma once

#include <QString>

namespace ztgl {

// Texts that differ between deliveries of the suite. They are read from section BASESETUP of
// gIniFile, so a delivery changes them without a new program; absent keys give the built-in texts.

// The product title: the application title of message boxes and the middle of gTitle.
// Key TITLE; built-in "商业进销存". Cut to kProductTitleMaxLength characters, since it stands in
// every title bar.
QString ProductTitle();
constexpr int kProductTitleMaxLength = 40;
// The built-in product title, also the application title before the configuration is read.
QString DefaultProductTitle();

// The maker's web site, opened by a double click on the login dialog's link area.
// Key WEBSITE; built-in "http://www.zavrin.com".
QString MakerWebSite();

// The key of the login dialog's background picture in csxx.dac. Key LOGINPIC; built-in "201".
QString LoginPictureKey();

// "Zavrin行业管理软件之" + product title + "-帐套管理".
QString ProgramTitle(const QString& productTitle);

}  // namespace ztgl
