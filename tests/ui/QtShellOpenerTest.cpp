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

class QtShellOpenerTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "handle");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "handle");
    }
    void TearDown() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }
    UrlCatcher catcher;
    ztgl::gui::QtShellOpener opener;
};

TEST_F(QtShellOpenerTest, FullAddressIsOpenedAsGiven) {
    EXPECT_TRUE(opener.open(QStringLiteral("https://www.example.com/ztgl?id=1")));
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls.front(), QUrl(QStringLiteral("https://www.example.com/ztgl?id=1")));
}

TEST_F(QtShellOpenerTest, AddressAsPeopleTypeItBecomesAWebAddress) {
    EXPECT_TRUE(opener.open(QStringLiteral(" www.example.com ")));
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls.front(), QUrl(QStringLiteral("http://www.example.com")));
}

TEST_F(QtShellOpenerTest, EmptyAddressOpensNothing) {
    EXPECT_FALSE(opener.open(QString()));
    EXPECT_TRUE(catcher.urls.isEmpty());
}

}  // namespace

#include "QtShellOpenerTest.moc"
