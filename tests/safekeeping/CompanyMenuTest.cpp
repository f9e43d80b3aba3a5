// The Company menu's safekeeping commands and the record window, offscreen on a demo folder.
#include "ui/CompanyMenu.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QTableView>

#include "ProgramFolder.h"
#include "RecordingUiPort.h"
#include "ShownLines.h"
#include "catalogue/AccountSetList.h"
#include "ui/FrmCZRZ.h"
#include "ui/FrmZTGL.h"
#include "ui/MDIfrmZTGL.h"

namespace ztgl::test {
namespace {

class CompanyMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.ok());
        ASSERT_EQ(folder.create("甲公司"), "1");
        ASSERT_TRUE(folder.openInProcess());
        gTitle = "Zavrin行业管理软件之商业进销存-帐套管理";
        window = new gui::MDIfrmZTGL();
        window->show();
    }
    void TearDown() override { delete window.data(); }

    void trigger(const QString& key) {
        QAction* action = window->Company()->findChild<QAction*>(key);
        ASSERT_TRUE(action) << key.toStdString();
        action->trigger();
    }
    QString lastMessage() const { return port.messages.isEmpty() ? QString() : port.messages.last().text; }
    gui::FrmCZRZ* recordWindow() const {
        for (QMdiSubWindow* sub : window->mdiArea()->subWindowList())
            if (auto* w = qobject_cast<gui::FrmCZRZ*>(sub->widget()))
                return w;
        return nullptr;
    }

    AdminFolder folder;
    RecordingUiPort port;
    QPointer<gui::MDIfrmZTGL> window;
};

TEST_F(CompanyMenuTest, TheCommandsStandBeforeTheUpgradeAndActOnTheCurrentSet) {
    QStringList texts;
    for (const QAction* a : window->Company()->actions())
        texts << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(texts, (QStringList{"备份当前帐套(&B)", "备份全部帐套(&A)", "从备份恢复帐套(&R)…",
                                  "从备份恢复为新帐套(&N)…", "-", "注销当前帐套(&D)…", "-", "操作记录(&L)",
                                  "-", "升级全部帐套的权限(&U)…", "-", "退出系统(&X)"}));

    trigger("BFZT");
    ASSERT_EQ(folder.backups().size(), 1);
    EXPECT_EQ(shownLines(port), QStringList{msgLine("已经成功备份帐套“甲公司”！\r\n备份文件：" +
                                                    QDir::toNativeSeparators(folder.backups().first()))});
    EXPECT_EQ(port.mainWindowEnabled, (QVector<bool>{false, true}));

    trigger("ZXZT");
    EXPECT_EQ(lastMessage(), "只能注销已停用的帐套，请先停用帐套“甲公司”。");
    gui::FrmZTGL* list = window->listWindow();
    ASSERT_TRUE(list);
    port.answer(MsgAnswer::Yes);
    list->list().command1_Click(1);  // 停用帐套
    port.answer(MsgAnswer::Yes);
    trigger("ZXZT");
    EXPECT_TRUE(lastMessage().startsWith("已经注销帐套“甲公司”！")) << lastMessage().toStdString();
    EXPECT_EQ(list->list().grid().Rows(), 1) << "the list shows the catalogue without it";

    trigger("BFZT");
    EXPECT_EQ(lastMessage(), "请先在帐套列表中选中一个帐套。");
}

TEST_F(CompanyMenuTest, TheRecordWindowShowsTheNewestFirstAndFiltersReadOnly) {
    trigger("BFZT");
    trigger("CZJL");
    gui::FrmCZRZ* log = recordWindow();
    ASSERT_TRUE(log);
    const ListGrid& grid = log->list().grid();
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(0, ChangeLogList::ColAction).trimmed(), "操作");
    EXPECT_EQ(grid.TextMatrix(1, ChangeLogList::ColAction), "备份帐套");
    EXPECT_EQ(grid.TextMatrix(2, ChangeLogList::ColAction), "新增帐套");
    EXPECT_EQ(grid.TextMatrix(2, ChangeLogList::ColOutcome), "成功");
    const QTableView* view = log->MSFlexGrid1();
    EXPECT_FALSE(view->model()->flags(view->model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_EQ(log->cmbZT()->count(), 2);
    EXPECT_EQ(log->cmbZT()->itemText(1), "1  甲公司");

    log->chkRQ()->setChecked(true);
    log->dtpRQ()->setDate(QDate::currentDate().addDays(1));
    log->query();
    EXPECT_EQ(grid.Rows(), 1);
    log->dtpRQ()->setDate(QDate::currentDate());
    log->cmbZT()->setCurrentIndex(1);
    log->query();
    EXPECT_EQ(grid.Rows(), 3);

    trigger("BFZT");
    trigger("CZJL");
    EXPECT_EQ(recordWindow(), log) << "one record window, read again";
    EXPECT_EQ(grid.Rows(), 4);
    log->list().command1_Click(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(recordWindow());
    EXPECT_EQ(port.messages.size(), 2) << "two backups, nothing else said";
}

// Restoring asks the view for a file in the backup folder; a set made from it shows in the list.
TEST_F(CompanyMenuTest, RestoreTakesTheChosenFile) {
    struct View final : CompanyCommands::View {
        QString file, folderOffered;
        int reloads = 0;
        QString currentSetId() const override { return "1"; }
        QString chooseBackupFile(const QString& folder) override { return folderOffered = folder, file; }
        void reloadList() override { ++reloads; }
        void showChangeLog() override {}
    } view;
    CompanyCommands company(view);
    company.Company_Click("bfzt");
    ASSERT_EQ(folder.backups().size(), 1);
    view.file = folder.backups().first();
    company.Company_Click("HFXZ");
    EXPECT_EQ(QDir(view.folderOffered).canonicalPath(), QDir(folder.backupDir()).canonicalPath());
    EXPECT_EQ(view.reloads, 1);
    EXPECT_EQ(lastMessage(), "已经成功把备份恢复为新帐套“甲公司（恢复）”（编号2，数据库_BK002）！");
}

}  // namespace
}  // namespace ztgl::test
