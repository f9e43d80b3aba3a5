
#include <QProgressBar>

#include "UiFixture.h"
#include "creation/ProgressWindow.h"
#include "ui/FrmProgressBar.h"

namespace ztgl::gui {
namespace {

using PW = ProgressWindow;

FrmProgressBar* shownWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<FrmProgressBar*>(w); f && f->isVisible())
            return f;
    return nullptr;
}

// The load state (again for a later creation), then what the creation writes, long texts whole.
TEST(FrmProgressBar, ShowsTheLoadStateThenWhatTheCreationWrites) {
    PW window;
    window.setViewFactory(FrmProgressBar::factory());
    for (int run = 0; run < 2; ++run) {
        window.Show();
        FrmProgressBar* f = shownWindow();
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->size(), QSize(465, 151));  // 6975 x 2265 twips
        EXPECT_TRUE(f->windowFlags() & Qt::FramelessWindowHint);
        auto* label1 = f->findChild<QLabel*>("Label1");
        auto* label2 = f->findChild<QLabel*>("Label2");
        auto* label3 = f->findChild<QLabel*>("Label3");
        auto* bar1 = f->findChild<QProgressBar*>("ProgressBar1");
        auto* bar2 = f->findChild<QProgressBar*>("ProgressBar2");
        ASSERT_TRUE(label1 && label2 && label3 && bar1 && bar2);
        EXPECT_EQ(label1->text(), QString());
        EXPECT_FALSE(label2->isVisible() || bar1->isVisible() || bar2->isVisible());
        EXPECT_EQ(bar1->maximum(), 100);
        EXPECT_EQ(label3->palette().color(QPalette::WindowText), QColor(128, 0, 0));

        window.setCaption(PW::Label3, "正在创建帐套“华东贸易有限公司”");
        window.setCaption(PW::Label1, "正在创建PurchaseBillLines表，请稍后……");
        window.setCaption(PW::Label2, "正在插入表PurchaseBillLines的初始数据");
        for (const auto part : {PW::Label2, PW::ProgressBar1, PW::ProgressBar2})
            window.setVisible(part, true);
        window.setMax(PW::ProgressBar1, 28);
        window.setValue(PW::ProgressBar1, 17);
        EXPECT_TRUE(label2->isVisible() && bar1->isVisible() && bar2->isVisible());
        EXPECT_EQ(std::make_pair(bar1->maximum(), bar1->value()), std::make_pair(28, 17));
        for (QLabel* l : {label1, label2, label3}) {
            EXPECT_GE(l->width(), l->sizeHint().width()) << l->objectName().toStdString();
            EXPECT_LE(l->geometry().right(), f->width());
        }
        test::render(f, "ztgl_frmProgressBar.png");
        window.Unload();
        EXPECT_EQ(shownWindow(), nullptr);
    }
}

}  // namespace
}  // namespace ztgl::gui
