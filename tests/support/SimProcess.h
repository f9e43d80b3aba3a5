#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

namespace ztgl::test {

// The built ztgl-server-sim as a process of its own (for talking to the built ztgl-admin, which
// waits in a process of its own too). Its log goes to a file, so it never blocks on a full pipe.
// Inline: the program's path is known to the test programs only (ZTGL_SERVER_SIM_EXE).
class SimProcess {
public:
    // `args` as on the command line; "--port 0" picks a free port, which port() then names.
    explicit SimProcess(const QStringList& args, const QString& script = QString()) {
        QStringList all = args;
        if (!script.isNull()) {
            QFile file(m_dir.filePath(QStringLiteral("script.txt")));
            if (file.open(QIODevice::WriteOnly))
                file.write(script.toUtf8());
            all << QStringLiteral("--script") << file.fileName();
        }
        m_process.setStandardOutputFile(logFile());
        m_process.setStandardErrorFile(logFile(), QIODevice::Append);
        m_process.start(QStringLiteral(ZTGL_SERVER_SIM_EXE), all);
        m_process.waitForStarted();
        static const QRegularExpression listening(QStringLiteral("listening on [^\\n]*:(\\d+)\\n"));
        QElapsedTimer clock;
        clock.start();
        while (m_port == 0 && clock.elapsed() < 10000 && m_process.state() == QProcess::Running) {
            const auto m = listening.match(log());
            if (m.hasMatch())
                m_port = m.captured(1).toUShort();
            else
                QThread::msleep(10);
        }
    }
    ~SimProcess() {
        m_process.kill();
        m_process.waitForFinished();
    }

    quint16 port() const { return m_port; }
    QString log() const {
        QFile file(logFile());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    QString logFile() const { return m_dir.filePath(QStringLiteral("sim.log")); }

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
};

}  // namespace ztgl::test
