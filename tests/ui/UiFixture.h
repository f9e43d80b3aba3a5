#pragma once

// What the window tests share: the headers they all use, the ground after start-up, and checks
// of the look common to several windows.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "QtPrinters.h"
#include "RecordingUiPort.h"
#include "ProgramFolder.h"
#include "WidgetInput.h"
#include "db/PubSql.h"
#include "process/Globals.h"
#include "ui/ModalForms.h"
#include "ui/ShapeWidget.h"
#include "ui/Style.h"

namespace ztgl::test {

// A program folder with the manager's database of the Access kind (plus `ztml()` statements), the
// shared connection open on it and messages recorded: the ground of the windows after start-up.
class ManagerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        gAppPath = QDir::toNativeSeparators(folder.path()) + QDir::separator();
        gTitle = QStringLiteral("Zavrin行业管理软件之商业进销存-帐套管理");
        ASSERT_TRUE(folder.openAsManager(ztml()));
    }
    void TearDown() override {
        Close_Connect();
        ResetGlobals();
    }
    virtual QStringList ztml() const { return {}; }
    QStringList messageTexts() const {
        QStringList out;
        for (const auto& m : port.messages)
            out << m.text;
        return out;
    }

    TempProgramFolder folder;
    RecordingUiPort port;
};

// The window drawn into the temporary folder, for a look by eye.
inline void render(QWidget* window, const QString& file) {
    EXPECT_TRUE(window->grab().save(QDir::temp().filePath(file))) << file.toStdString();
}

inline QByteArray png(const QSize& size, const QColor& colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);  // opened by the writer
    image.save(&buffer, "PNG");
    return bytes;
}

// The look the small dialogs share: name and title, the head's title, "确定(&Y)" left of "关闭(&Q)"
// in the band above the white frame, the boxes inside the frame, `labels` shown whole, the focus
// on the first box.
inline void expectDialogLook(QWidget* dialog, const char* name, const QString& title, const QWidget* frame,
                             QAbstractButton* ok, QAbstractButton* close, const QList<QLineEdit*>& boxes,
                             const QStringList& labels) {
    SCOPED_TRACE(name);
    EXPECT_EQ(dialog->objectName(), name);
    EXPECT_EQ(dialog->windowTitle(), title);
    auto* head = dialog->findChild<QLabel*>("LblTitle");
    ASSERT_TRUE(head);
    EXPECT_EQ(head->text(), "【" + title + "】");
    EXPECT_EQ(ok->text(), "确定(&Y)");
    EXPECT_EQ(close->text(), "关闭(&Q)");
    EXPECT_LT(ok->x(), close->x());
    EXPECT_LT(close->geometry().bottom(), frame->y());
    for (const QLineEdit* box : boxes)
        EXPECT_TRUE(frame->geometry().contains(box->geometry())) << box->objectName().toStdString();
    QStringList shown;
    for (const QLabel* l : dialog->findChildren<QLabel*>()) {
        shown << l->text();
        if (!l->text().isEmpty()) {
            EXPECT_GE(l->width(), l->sizeHint().width()) << l->text().toStdString();  // nothing cut
        }
    }
    for (const QString& text : labels)
        EXPECT_TRUE(shown.contains(text)) << text.toStdString();
    EXPECT_TRUE(boxes.first()->hasFocus());
    render(dialog, QString("ztgl-%1.png").arg(name));
}

}  // namespace ztgl::test
