#include "demo/DemoFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "ado/Connection.h"
#include "ado/JetDatabase.h"
#include "db/PubSql.h"
#include "operators/SetMima.h"
#include "platform/Codepage936.h"
#include "platform/ProgramFolder.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"
#include "process/ProductSettings.h"

namespace ztgl {
namespace {

const QString kConfig = QStringLiteral("kxconfig.ini");
const QString kManager = QStringLiteral("KXPUB.MDB");
const QString kTemplate = QStringLiteral("MWMSD_NULL.mdb");

// Whatever a failed build wrote goes again, the folder too when the build made it.
class Cleanup {
public:
    explicit Cleanup(const QString& dir) : m_dir(dir) {}
    ~Cleanup() {
        if (m_done)
            return;
        for (const QString& file : m_files)
            QFile::remove(file);
        if (m_madeDir)
            QDir().rmdir(m_dir);
    }
    void madeDir() { m_madeDir = true; }
    void wrote(const QString& file) { m_files << file; }
    void done() { m_done = true; }

private:
    QString m_dir;
    QStringList m_files;
    bool m_madeDir = false;
    bool m_done = false;
};

bool fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

QString managerConnectString(const QString& file) {
    DBProfile profile;
    profile.Provider = QStringLiteral("Microsoft.Jet.OLEDB.4.0");
    profile.DataSource = file;
    return Build_ConnectString(kAccess, profile);
}

void writeManagerDatabase(const QString& file) {
    ado::CreateJetDatabase(file);
    ado::Connection conn;
    conn.setConnectionString(managerConnectString(file));
    conn.Open();
    for (const QString& sql : DemoFolder::managerStatements())
        conn.Execute(sql);
    conn.Close();
}

bool writeConfig(const QString& file, const QString& text, QString* error) {
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(cp936::encode(text)) < 0 || !out.commit())
        return fail(error, QStringLiteral("无法写入配置文件 %1：%2").arg(file, out.errorString()));
    return true;
}

}  // namespace

QStringList DemoFolder::fileNames() {
    return {kConfig, kManager, kTemplate};
}

QStringList DemoFolder::managerStatements() {
    // UserPwds is as wide as Jet's text gets: a 30-character code with a 30-character password
    // encodes to far more than 60 characters.
    return {
        QStringLiteral("CREATE TABLE ZTML (Id TEXT(10) COLLATE NOCASE NOT NULL PRIMARY KEY, "
                       "ZTMC TEXT(50) COLLATE NOCASE UNIQUE, ZTLJ TEXT(50) COLLATE NOCASE, "
                       "CreateTime TEXT(10) COLLATE NOCASE, UserFlag LONG)"),
        QStringLiteral("CREATE TABLE ZTUsers (Id TEXT(10) COLLATE NOCASE NOT NULL PRIMARY KEY, "
                       "UserName TEXT(30) COLLATE NOCASE NOT NULL UNIQUE, UserPwds TEXT(255) COLLATE NOCASE, "
                       "RealName TEXT(30) COLLATE NOCASE)"),
        // The initial operator: code admin, empty password.
        QStringLiteral("INSERT INTO ZTUsers (Id, UserName, UserPwds, RealName) VALUES ('1', 'admin', ") +
            GetSqlVal(Set_Mima(QStringLiteral("adminadmin"))) + QStringLiteral(", '系统管理员')"),
    };
}

QStringList DemoFolder::serverSimArguments(const QString& kxpubPath) {
    return {QStringLiteral("--port"),    QString::number(kServerPort),
            QStringLiteral("--kind"),    kAccess,
            QStringLiteral("--connect"), managerConnectString(kxpubPath),
            QStringLiteral("--dbname"),  kServerDbName};
}

QString DemoFolder::configText(const QString& kxpubPath, Edition edition) {
    const bool network = edition == Edition::Network;
    QStringList lines = {
        network ? QStringLiteral(
                      "; 帐套管理的配置文件（演示数据，网络版，由 ztgl-admin init-demo --network 生成）")
                : QStringLiteral("; 帐套管理的配置文件（演示数据，由 ztgl-admin init-demo 生成）"),
        QStringLiteral("; 本文件按代码页 936（GBK）保存，节名和键名不区分大小写。"),
        QStringLiteral("[BASESETUP]"),
        QStringLiteral("; 0 = 单机版，其他值 = 网络版"),
        network ? QStringLiteral("ISWLB=1") : QStringLiteral("ISWLB=0"),
        QStringLiteral("; 产品名称，标题栏显示为：Zavrin行业管理软件之<产品名称>-帐套管理"),
        QStringLiteral("TITLE=") + DefaultProductTitle(),
    };
    if (network) {
        lines << QStringLiteral("[SERVERINFO]")
              << QStringLiteral("; 套件服务器程序的地址和端口；演示时由 ztgl-server-sim 充当服务器")
              << QStringLiteral("IP=127.0.0.1") << QStringLiteral("PORT=%1").arg(kServerPort);
    }
    lines += {
        QStringLiteral("[DBCONNECT]"),
        QStringLiteral("; 数据库类型：[Microsoft Access] 或 [Microsoft SQL Server]"),
        QStringLiteral("DBTYPE=") + kAccess,
        QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0"),
        QStringLiteral("; 管理库的完整路径，文件名必须大写：KXPUB.MDB"),
        QStringLiteral("DATA_SOURCE=") + kxpubPath,
        QStringLiteral("PASSWORD="),
        QStringLiteral("PERSIST_SECURITY_INFO=False"),
    };
    if (network)
        lines.insert(lines.indexOf(QStringLiteral("[DBCONNECT]")) + 1,
                     QStringLiteral("; 单机版才读取本节；网络版的连接字符串由服务器给出"));
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

bool DemoFolder::build(const QString& dir, QString* error, const TemplateWriter& writeTemplate,
                       Edition edition) {
    const QFileInfo info(dir);
    const QString path = QDir::toNativeSeparators(QDir::cleanPath(info.absoluteFilePath()));
    if (info.exists() && !info.isDir())
        return fail(error, QStringLiteral("“%1”已经存在，但不是文件夹。").arg(path));
    if (cp936::decode(cp936::encode(path)) != path)
        return fail(error,
                    QStringLiteral("文件夹路径“%1”含有代码页 936（GBK）无法表示的字符，配置文件记录不了它。")
                        .arg(path));
    if (path.contains(QLatin1Char(';')))
        return fail(error, QStringLiteral("文件夹路径“%1”含有分号“;”，连接字符串容纳不了它。").arg(path));

    if (info.exists()) {
        const QStringList present =
            QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& name : present) {
            for (const QString& wanted : fileNames()) {
                if (name.compare(wanted, Qt::CaseInsensitive) == 0)
                    return fail(error,
                                QStringLiteral("文件夹“%1”中已有 %2，没有写入任何文件。").arg(path, name));
            }
        }
    }

    // The nearest folder that exists is where the first file or folder would be made: an
    // installed program's own folder belongs to root, and saying so beats a failed database.
    QString existing = path;
    while (!QFileInfo::exists(existing))
        existing = QFileInfo(existing).absolutePath();
    if (!FolderIsWritable(existing))
        return fail(error, FolderNotWritableText(WithTrailingSeparator(existing)));

    Cleanup cleanup(path);
    if (!info.exists()) {
        if (!QDir().mkpath(path))
            return fail(error, QStringLiteral("无法建立文件夹“%1”。").arg(path));
        cleanup.madeDir();
    }
    const QDir folder(path);

    const QString manager = QDir::toNativeSeparators(folder.filePath(kManager));
    cleanup.wrote(manager);
    try {
        writeManagerDatabase(manager);
    } catch (const std::exception& e) {
        return fail(error, QStringLiteral("无法建立管理库 %1：%2").arg(manager, errorText(e)));
    }

    const QString templ = folder.filePath(kTemplate);
    cleanup.wrote(templ);
    QString templateError;
    if (!writeTemplate(templ, &templateError))
        return fail(error, QStringLiteral("无法建立模板库 %1：%2").arg(templ, templateError));

    // The configuration goes last: a folder that has it is complete.
    if (!writeConfig(folder.filePath(kConfig), configText(manager, edition), error))
        return false;
    cleanup.done();
    return true;
}

}  // namespace ztgl
