// Backing up an account set of about 100 MB next to a plain file copy of it.
//   bench_backup [MEGABYTES]   (default 100)
// The set is the demo template with its log table filled with business-like rows (text with
// Chinese words, numbers, dates), so that it compresses as real books do. Figures (median of three):
// the plain copy; the whole backup (online copy, packing, reading back) with its steps; the check
// of a finished backup alone; a restore over the set (unpacking, checking, the backup of the state
// before, the online copy into the live database).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>

#include "ado/Connection.h"
#include "db/PubSql.h"
#include "demo/DemoFolder.h"
#include "process/Globals.h"
#include "process/UiPort.h"
#include "safekeeping/BackupFile.h"
#include "safekeeping/SetBackup.h"
#include "safekeeping/SetRestore.h"
#include "safekeeping/WorkProgress.h"

using namespace ztgl;

namespace {

// Answers every question Yes and keeps quiet otherwise.
class YesPort final : public UiPort {
public:
    MsgAnswer message(const QString&, const QString&, MsgIcon, MsgButtons b) override {
        return b == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
    void showModal(ModalForm&) override {}
    void doEvents() override {}
    void setMainWindowEnabled(bool) override {}
};

// The time of each step the progress window shows.
class StepClock final : public ProgressWindow::View {
public:
    explicit StepClock(std::map<QString, double>& steps) : m_steps(steps) { m_clock.start(); }
    ~StepClock() override { lap(); }
    void progressChanged(const ProgressWindow& w) override {
        if (w.caption(ProgressWindow::Label1) == m_step)
            return;
        lap();
        m_step = w.caption(ProgressWindow::Label1);
    }
    void repaintNow() override {}

private:
    void lap() {
        if (!m_step.isEmpty())
            m_steps[m_step] += m_clock.nsecsElapsed() / 1e6;
        m_clock.restart();
    }
    std::map<QString, double>& m_steps;
    QElapsedTimer m_clock;
    QString m_step;
};

const char* const kWords[] = {"采购入库",
                              "销售出库",
                              "调拨",
                              "盘点",
                              "应收款",
                              "应付款",
                              "华东贸易有限公司",
                              "五金",
                              "螺丝",
                              "钢管",
                              "不锈钢板",
                              "备注：按合同结算",
                              "发票已开",
                              "张三",
                              "李四",
                              "仓库一",
                              "退货",
                              "折扣",
                              "运费",
                              "现金",
                              "转帐",
                              "SP-",
                              "KH-",
                              "GYS-"};

bool fill(const QString& file, qint64 bytes) {
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        db.setDatabaseName(file);
        ok = db.open() && db.transaction();
        QSqlQuery q(db);
        ok = ok && q.prepare(QStringLiteral(
                       "INSERT INTO OperationLog (RZID, CZY, CZSJ, CZMK, CZNR) VALUES (?, ?, ?, ?, ?)"));
        QRandomGenerator random(20240305);
        const int words = int(sizeof kWords / sizeof *kWords);
        for (int id = 1; ok && QFileInfo(file).size() < bytes; ++id) {
            QString text;
            for (int w = 0; w < 40; ++w)
                text += QString::fromUtf8(kWords[random.bounded(words)]) +
                        QString::number(random.bounded(100000));
            q.addBindValue(id);
            q.addBindValue(QString::fromUtf8(kWords[13 + id % 2]));
            q.addBindValue(
                QStringLiteral("2024-%1-%2 10:%3:00").arg(1 + id % 12).arg(1 + id % 28).arg(id % 60));
            q.addBindValue(QString::fromUtf8(kWords[id % 6]));
            q.addBindValue(text);
            ok = q.exec();
            if (id % 20000 == 0)  // the file grows on commit
                ok = ok && db.commit() && db.transaction();
        }
        ok = ok && db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
    return ok;
}

// Wall-clock and processor time (ms), each the median of three runs: on a shared machine the
// processor time tells what the work itself costs.
struct Timing {
    double wall, cpu;
};

template <typename F>
Timing median(F f) {
    QVector<double> wall, cpu;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        const std::clock_t c = std::clock();
        f();
        wall << t.nsecsElapsed() / 1e6;
        cpu << (std::clock() - c) * 1000.0 / CLOCKS_PER_SEC;
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[1], cpu[1]};
}

void print(const char* what, const Timing& t) {
    std::printf("%-40s %8.1f ms wall, %8.1f ms processor\n", what, t.wall, t.cpu);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? std::atoi(argv[1]) : 100;
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/prog/");
    QString error;
    if (!DemoFolder::build(folder, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QString set = folder + QStringLiteral("_BK001.MDB");
    QFile::copy(folder + QStringLiteral("MWMSD_NULL.mdb"), set);
    if (!fill(set, megabytes * 1024 * 1024)) {
        std::fprintf(stderr, "cannot fill %s\n", qPrintable(set));
        return 1;
    }
    gAppPath = QDir::toNativeSeparators(folder);
    gIniFile = gAppPath + QStringLiteral("kxconfig.ini");
    gConnectString = Get_ConnectString();
    if (Open_Connect() != 1)
        return 1;
    gConn->Execute(QStringLiteral(
        "insert into ZTML(Id,ZTMC,ZTLJ,CreateTime,UserFlag) values('1','甲','_BK001','2024-01-01',1)"));
    YesPort yes;
    setUi(&yes);
    const SetRow row = *SetRow::Find(QStringLiteral("1"));

    const Timing copy = median([&] {
        QFile::remove(folder + QStringLiteral("plain.MDB"));
        QFile::copy(set, folder + QStringLiteral("plain.MDB"));
    });

    std::map<QString, double> steps;
    ProgressWindow window;
    window.setViewFactory([&steps](ProgressWindow&) { return std::make_unique<StepClock>(steps); });
    WorkProgress progress(window);
    QString file;
    const Timing backup = median([&] {
        window.Show();
        file = SetBackup(progress).Run(row);
        window.Unload();
    });
    const Timing verify = median([&] { BackupFile::Verify(file); });
    const Timing restore = median([&] {
        window.Show();
        SetRestore(progress).Run(file, false);
        window.Unload();
    });

    std::printf("set: %.1f MB; backup file: %.1f MB (%.1f%%)\n", QFileInfo(set).size() / 1048576.0,
                QFileInfo(file).size() / 1048576.0, 100.0 * QFileInfo(file).size() / QFileInfo(set).size());
    print("plain file copy:", copy);
    print("backup (online copy, pack, read back):", backup);
    print("check of a finished backup alone:", verify);
    print("restore over the set (with its backup):", restore);
    std::printf("steps (wall), summed over all runs of the backup and the restore (3 each):\n");
    for (const auto& [step, ms] : steps)
        std::printf("  %-40s %8.1f ms\n", qPrintable(step), ms);
    setUi(nullptr);
    Close_Connect();
    return 0;
}
