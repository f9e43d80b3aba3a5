#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <functional>
#include <memory>

#include "ado/JetFileWire.h"

class QProcess;

namespace ado {

// The reader of Jet files (the program ztgl-jetread) working for one open file: it reads the file through
// libmdb and answers one request after the other. It runs as a child process because libmdb may crash or
// loop on a damaged file: a child that dies, or falls silent for the idle time-out while a request is open,
// is stopped and reported, never waited for; after a fault every further request fails alike.
//
// The program is the one named by the environment variable ZTGL_JETREAD, else ztgl-jetread beside the
// running executable.
class JetFileReader {
public:
    // Starts the reader on the file and takes its header. Throws ztgl::RuntimeError: 3706 when the program
    // cannot be started, 3049 naming the file for every fault of the file or of the reader.
    explicit JetFileReader(const QString& file);
    ~JetFileReader();
    JetFileReader(const JetFileReader&) = delete;
    JetFileReader& operator=(const JetFileReader&) = delete;

    const JetFileHeader& header() const { return m_header; }
    // Every table's definition, system tables included, in the file's own order.
    QVector<JetFileTable> catalog();
    // The table's definition (a Table message), then one Row message per row, in the file's order.
    void rows(const QString& table, const std::function<void(JetFileFrame&)>& onFrame);

    static QString program();
    // Silence after which a reader counts as hung (30 s unless set; tests set less).
    static void setIdleTimeout(int ms);

private:
    // Sends one request line and hands over its messages up to its End.
    void exchange(const QByteArray& request, const std::function<void(JetFileFrame&)>& onFrame);
    bool nextFrame(JetFileFrame* frame);
    [[noreturn]] void fail(const QString& detail);
    // Why the reader ended before its answer did.
    QString ended() const;

    QString m_file;
    std::unique_ptr<QProcess> m_process;
    QByteArray m_buffer;
    qint64 m_taken = 0;  // bytes of m_buffer already handed over
    qint64 m_read = 0;   // bytes taken from the reader for the answer under way
    qint64 m_limit = 0;  // more than any honest answer about this file
    JetFileHeader m_header;
    QString m_fault;  // set once the reader failed
};

}  // namespace ado
