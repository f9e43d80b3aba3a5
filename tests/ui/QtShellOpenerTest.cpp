// Web addresses go to the desktop's URL handler (replaced here, so nothing is opened).
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

#include "ui/QtShellOpener.h"

namespace {

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void handle(const QUrl& url) { urls << url; }
};

// A full address is opened as given, one typed as people type it becomes a web address, an empty
// one opens nothing.
TEST(QtShellOpenerTest, AddressesOpenAsWebAddresses) {
    UrlCatcher catcher;
    for (const char* scheme : {"http", "https"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "handle");
    ztgl::gui::QtShellOpener opener;
    EXPECT_TRUE(opener.open(QStringLiteral("https://www.example.com/ztgl?id=1")));
    EXPECT_TRUE(opener.open(QStringLiteral(" www.example.com ")));
    EXPECT_FALSE(opener.open(QString()));
    EXPECT_EQ(catcher.urls, (QList<QUrl>{QUrl(QStringLiteral("https://www.example.com/ztgl?id=1")),
                                         QUrl(QStringLiteral("http://www.example.com"))}));
    for (const char* scheme : {"http", "https"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

}  // namespace

#include "QtShellOpenerTest.moc"
