#include "ado/JetFileReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "ado/JetError.h"

namespace ado {
namespace {

int& idleTimeout() {
    static int ms = 30000;
    return ms;
}

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

JetFileReader::JetFileReader(const QString& file)
    : m_file(file),
      m_process(std::make_unique<QProcess>()),
      // No honest answer is larger than the file many times over (a yes/no value takes one bit of the file
      // and a byte of a message).
      m_limit(QFileInfo(file).size() * 64 + (qint64(64) << 20)) {
    m_process->setProgram(program());
    m_process->setArguments({file});
    // The library's own warnings go nowhere: a looping reader could fill any buffer with them.
    m_process->setStandardErrorFile(QProcess::nullDevice());
    m_process->start();
    if (!m_process->waitForStarted(30000)) {
        m_fault = QStringLiteral("missing");
        throw JetError::jetReaderMissing(m_process->program());
    }
    JetFileFrame frame;
    if (!nextFrame(&frame))
        fail(ended());
    if (frame.tag != JetFileFrame::Header)
        fail(QStringLiteral("读取程序的输出无法解读"));
    m_header = frame.header;
}

JetFileReader::~JetFileReader() {
    if (m_process->state() == QProcess::NotRunning)
        return;
    m_process->closeWriteChannel();  // the reader ends at the end of its requests
    if (!m_process->waitForFinished(2000)) {
        m_process->kill();
        m_process->waitForFinished(2000);
    }
}

QString JetFileReader::ended() const {
    return m_process->exitStatus() == QProcess::NormalExit && m_process->exitCode() == 0
               ? QStringLiteral("读取程序的输出不完整")
               : QStringLiteral("读取程序异常终止");
}

void JetFileReader::fail(const QString& detail) {
    m_fault = detail;
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(2000);
    }
    throw JetError::jetFileDamaged(m_file, detail);
}

// The next whole message, waiting for the reader as long as it keeps talking. False when the reader ended
// without one.
bool JetFileReader::nextFrame(JetFileFrame* frame) {
    for (;;) {
        const JetFileFrame::Taken taken = JetFileFrame::take(m_buffer, &m_taken, m_limit, frame);
        if (taken == JetFileFrame::Taken::Bad)
            fail(QStringLiteral("读取程序的输出无法解读"));
        if (taken == JetFileFrame::Taken::Whole) {
            if (frame->tag == JetFileFrame::Failure)
                fail(frame->message);
            return true;
        }
        if (m_process->state() == QProcess::NotRunning && m_process->bytesAvailable() == 0)
            return false;
        if (!m_process->waitForReadyRead(idleTimeout()) && m_process->state() != QProcess::NotRunning)
            fail(QStringLiteral("读取程序 %1 秒内没有读出任何内容").arg(idleTimeout() / 1000.0));
        const QByteArray chunk = m_process->readAllStandardOutput();
        m_read += chunk.size();
        if (m_read > m_limit)
            fail(QStringLiteral("读取程序的输出多得不合理"));
        m_buffer.remove(0, m_taken);
        m_taken = 0;
        m_buffer += chunk;
    }
}

void JetFileReader::exchange(const QByteArray& request, const std::function<void(JetFileFrame&)>& onFrame) {
    if (!m_fault.isEmpty())
        throw JetError::jetFileDamaged(m_file, m_fault);
    m_read = 0;
    m_process->write(request + '\n');
    JetFileFrame frame;
    try {
        for (;;) {
            if (!nextFrame(&frame))
                fail(ended());
            if (frame.tag == JetFileFrame::End)
                return;
            onFrame(frame);
        }
    } catch (...) {
        // Whatever stopped the answer midway, the rest of it would be taken for the next one.
        if (m_fault.isEmpty())
            m_fault = QStringLiteral("读取中断");
        m_process->kill();
        throw;
    }
}

QVector<JetFileTable> JetFileReader::catalog() {
    QVector<JetFileTable> out;
    exchange("catalog", [&](JetFileFrame& f) {
        if (f.tag == JetFileFrame::Table)
            out.append(f.table);
    });
    return out;
}

void JetFileReader::rows(const QString& table, const std::function<void(JetFileFrame&)>& onFrame) {
    exchange("rows " + table.toUtf8(), onFrame);
}

}  // namespace ado
