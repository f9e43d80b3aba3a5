#include "process/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include "platform/Codepage936.h"
#include "platform/IniDocument.h"
#include "platform/ProgramFolder.h"
#include "platform/RuntimeError.h"
#include "process/UiPort.h"

namespace ztgl {
namespace {

// The value buffer holds 256 characters: at most 255 bytes of value and the closing NUL.
constexpr int kBufferSize = 256;

// Names and values pass through the ANSI code page on their way to the profile functions:
// what the code page cannot hold arrives as "?". The file name does not: here it is a native
// path, and a folder name outside the code page must not make the file unreachable.
QString ansi(const QString& text) {
    return cp936::decode(cp936::encode(text));
}

// Trim of the Basic run time: blanks only, tabs and other spaces stay.
QString trimSpaces(const QString& s) {
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && s.at(from) == QLatin1Char(' '))
        ++from;
    while (to > from && s.at(to - 1) == QLatin1Char(' '))
        --to;
    return s.mid(from, to - from);
}

// What the reader makes of the returned value: the buffer (value, NUL, the blanks it was filled
// with) trimmed of blanks, then stripped of NULs. Blanks before the NUL survive, so a quoted
// value keeps its trailing blanks but not its leading ones.
QString fromBuffer(const QString& value) {
    const QByteArray bytes = cp936::leftBytes(cp936::encode(value), kBufferSize - 1);
    QString buffer = cp936::decode(bytes) + QChar(0);
    buffer += QString(qMax<qsizetype>(0, kBufferSize - buffer.size()), QLatin1Char(' '));
    return trimSpaces(buffer).remove(QChar(0));
}

void report(const std::exception& e) {
    ui().message(errorText(e), QStringLiteral("提示"), MsgIcon::Information, MsgButtons::Ok);
}

// A file that exists but cannot be read (a folder, no permission, a read error).
class Unreadable : public RuntimeError {
public:
    using RuntimeError::RuntimeError;
};

// After the permission error: the folder that refused the file, named once per folder (the
// settings dialog writes two keys in a row).
void tellFolderNotWritable(const std::exception& e, const QString& file) {
    static QSet<QString> told;
    const auto* re = dynamic_cast<const RuntimeError*>(&e);
    const QString folder = WithTrailingSeparator(QDir::toNativeSeparators(QFileInfo(file).absolutePath()));
    if (!re || re->number() != RuntimeError::PermissionDenied || FolderIsWritable(folder) ||
        told.contains(folder))
        return;
    told.insert(folder);
    ui().message(FolderNotWritableText(folder), QStringLiteral("提示信息"), MsgIcon::Information,
                 MsgButtons::Ok);
}

// The file's bytes; empty when it does not exist.
QByteArray readFile(const QString& file) {
    const QFileInfo info(file);
    if (!info.exists())
        return QByteArray();
    if (info.isDir())
        throw Unreadable(RuntimeError::PathFileAccess);
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        throw Unreadable(info.isReadable() ? RuntimeError::PathFileAccess : RuntimeError::PermissionDenied);
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw Unreadable(RuntimeError::PathFileAccess);
    return bytes;
}

// Writes through a temporary file renamed over the old one, so a failed write leaves the old
// file as it was.
void writeFile(const QString& file, const QByteArray& bytes) {
    const QFileInfo info(file);
    if (info.isDir())
        throw RuntimeError(RuntimeError::PathFileAccess);
    if (!info.absoluteDir().exists())
        throw RuntimeError(RuntimeError::PathNotFound);
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly)) {
        const bool allowed =
            QFileInfo(info.absolutePath()).isWritable() && (!info.exists() || info.isWritable());
        throw RuntimeError(allowed ? RuntimeError::PathFileAccess : RuntimeError::PermissionDenied);
    }
    if (f.write(bytes) != bytes.size() || !f.commit())
        throw RuntimeError(RuntimeError::PathFileAccess);
}

}  // namespace

QString Read_Ini(const QString& section, const QString& key, const QString& file) {
    try {
        const IniDocument doc(readFile(file));
        const auto value = doc.value(ansi(section), ansi(key));
        return fromBuffer(value.value_or(QString()));
    } catch (const Unreadable&) {
        // The profile function reads such a file as a missing one, without a word.
        return QString();
    } catch (const std::exception& e) {
        report(e);
        return QString();
    }
}

void Write_Ini(const QString& section, const QString& key, const QString& value, const QString& file) {
    try {
        IniDocument doc(readFile(file));
        doc.setValue(ansi(section), ansi(key), ansi(value));
        writeFile(file, doc.toBytes());
    } catch (const std::exception& e) {
        report(e);
        tellFolderNotWritable(e, file);
    }
}

}  // namespace ztgl
