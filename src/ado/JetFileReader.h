#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "ado/JetFileWire.h"

namespace ado {

// Runs the reader of Jet files (the program ztgl-jetread) on one file and hands over its messages. The
// reader runs as a child process: libmdb may crash or loop on a damaged file, and a child that dies or falls
// silent for the idle time-out is stopped and reported, never waited for.
//
// The program is the one named by the environment variable ZTGL_JETREAD, else ztgl-jetread beside the
// running executable.
class JetFileReader {
public:
    explicit JetFileReader(const QString& file) : m_file(file) {}

    // Runs the reader with these requests ("--catalog", "--rows", TABLE, ...) and calls `onFrame` for every
    // message, in order, the header first. Throws ztgl::RuntimeError: 3049 naming the file when the reader
    // reports a fault, dies, falls silent or writes what is not its messages; 3706 when it cannot be started.
    // An exception thrown by `onFrame` stops the reader and goes on up.
    void run(const QStringList& requests, const std::function<void(JetFileFrame&)>& onFrame) const;

    static QString program();
    // Silence after which a reader counts as hung (30 s unless set; tests set less).
    static void setIdleTimeout(int ms);

private:
    QString m_file;
};

}  // namespace ado
