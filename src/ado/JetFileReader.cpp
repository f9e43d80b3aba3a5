#include "ado/JetFileReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QtEndian>

#include "ado/JetError.h"

namespace ado {
namespace {

int& idleTimeout() {
    static int ms = 30000;
    return ms;
}

// No honest message is larger than the file it comes from, many times over (a yes/no value takes one bit of
// the file and a byte of the message).
qint64 outputLimit(const QString& file) {
    return QFileInfo(file).size() * 64 + (qint64(64) << 20);
}

// Stops the reader when the run ends early (a fault, or an exception of the caller).
struct Running {
    QProcess& p;
    ~Running() {
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished(5000);
        }
    }
};

}  // namespace

QString JetFileReader::program() {
    const QString set = qEnvironmentVariable("ZTGL_JETREAD");
    if (!set.isEmpty())
        return set;
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("ztgl-jetread.exe");
#else
    const QString name = QStringLiteral("ztgl-jetread");
#endif
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

void JetFileReader::setIdleTimeout(int ms) {
    idleTimeout() = ms;
}

void JetFileReader::run(const QStringList& requests, const std::function<void(JetFileFrame&)>& onFrame) const {
    QProcess p;
    p.setProgram(program());
    p.setArguments(QStringList{m_file} + requests);
    // The library's own warnings go nowhere: a looping reader could fill any buffer with them.
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(QIODevice::ReadOnly);
    if (!p.waitForStarted(30000))
        throw JetError::jetReaderMissing(p.program());
    const Running guard{p};
    const qint64 limit = outputLimit(m_file);
    const auto damaged = [&](const QString& detail) { return JetError::jetFileDamaged(m_file, detail); };

    QByteArray buffer;
    qint64 used = 0;  // bytes of `buffer` already handed over
    qint64 total = 0;
    JetFileFrame frame;
    const auto takeFrames = [&] {
        for (;;) {
            if (buffer.size() - used < 4)
                break;
            const quint32 length = qFromLittleEndian<quint32>(buffer.constData() + used);
            if (length > limit)
                throw damaged(QStringLiteral("读取程序的输出无法解读"));
            if (buffer.size() - used - 4 < qint64(length))
                break;
            if (!JetFileFrame::decode(buffer.mid(used + 4, length), &frame))
                throw damaged(QStringLiteral("读取程序的输出无法解读"));
            used += 4 + length;
            if (frame.tag == JetFileFrame::Failure)
                throw damaged(frame.message);
            onFrame(frame);
        }
        buffer.remove(0, used);
        used = 0;
    };
    for (;;) {
        const bool ready = p.waitForReadyRead(idleTimeout());
        const QByteArray chunk = p.readAllStandardOutput();
        total += chunk.size();
        if (total > limit)
            throw damaged(QStringLiteral("读取程序的输出多得不合理"));
        buffer += chunk;
        takeFrames();
        if (ready)
            continue;
        if (p.state() == QProcess::NotRunning)
            break;
        throw damaged(QStringLiteral("读取程序 %1 秒内没有读出任何内容").arg(idleTimeout() / 1000.0));
    }
    p.waitForFinished(5000);
    const QByteArray rest = p.readAllStandardOutput();
    buffer += rest;
    takeFrames();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw damaged(QStringLiteral("读取程序异常终止"));
    if (!buffer.isEmpty())
        throw damaged(QStringLiteral("读取程序的输出不完整"));
}

}  // namespace ado
