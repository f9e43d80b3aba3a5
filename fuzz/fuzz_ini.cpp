// The configuration file: IniDocument, Read_Ini and Write_Ini. Input: the bytes of an INI file,
// optionally followed by a NUL byte and "section\x01key\x01value" (UTF-8) to write into it.
// Oracles:
// - a document gives back every byte it has not written;
// - a written key reads back as it reads from a file that holds nothing else (the rest of the file
//   never changes what the program reads), and every other key keeps its value;
// - the same holds for Write_Ini and Read_Ini on a real file (255-byte cut, blanks, NULs), and
//   neither procedure reports an error.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <optional>

#include "FuzzSupport.h"
#include "platform/Codepage936.h"
#include "platform/IniDocument.h"
#include "process/IniFile.h"

using namespace ztgl;

namespace {

struct Write {
    QString section, key, value;
};

// Names and values that Windows' profile functions can write at all: no line ends or NULs, a
// section name without "]", a key name without "=" that cannot be taken for a comment or a
// section, names without blanks around them (they are matched trimmed).
bool writable(const Write& w) {
    static const QRegularExpression lineEnd(QStringLiteral("[\\r\\n\\x{0}]"));
    auto trimmed = [](const QString& s) {
        return !s.startsWith(QLatin1Char(' ')) && !s.startsWith(QLatin1Char('\t')) &&
               !s.endsWith(QLatin1Char(' ')) && !s.endsWith(QLatin1Char('\t'));
    };
    return !w.section.contains(lineEnd) && !w.key.contains(lineEnd) && !w.value.contains(lineEnd) &&
           !w.section.contains(QLatin1Char(']')) && !w.key.contains(QLatin1Char('=')) &&
           !w.key.startsWith(QLatin1Char(';')) && !w.key.startsWith(QLatin1Char('[')) && trimmed(w.section) &&
           trimmed(w.key);
}

std::optional<Write> writeOf(const QByteArray& command) {
    const QList<QByteArray> parts = command.split('\x01');
    if (parts.size() != 3)
        return std::nullopt;
    return Write{QString::fromUtf8(parts[0]), QString::fromUtf8(parts[1]), QString::fromUtf8(parts[2])};
}

// Every (section, key) the file may hold: the section names, and the text before "=" on any line.
QVector<QPair<QString, QString>> probes(const IniDocument& doc, const QByteArray& file) {
    QStringList keys;
    for (const QByteArray& line : file.split('\n')) {
        const QString text = cp936::decode(line);
        const qsizetype eq = text.indexOf(QLatin1Char('='));
        if (eq >= 0)
            keys << text.left(eq).trimmed();
    }
    keys.removeDuplicates();
    QVector<QPair<QString, QString>> out;
    for (const QString& section : doc.sectionNames())
        for (const QString& key : keys.mid(0, 16))
            out.append({section, key});
    return out;
}

void checkDocument(const QByteArray& file, const Write& w) {
    IniDocument doc(file);
    FUZZ_CHECK(doc.toBytes() == file, "a document keeps every byte it did not write");
    const auto keys = probes(doc, file);
    QVector<std::optional<QString>> before;
    for (const auto& [section, key] : keys)
        before.append(doc.value(section, key));

    IniDocument alone;
    alone.setValue(w.section, w.key, w.value);
    const std::optional<QString> expected = IniDocument(alone.toBytes()).value(w.section, w.key);
    FUZZ_CHECK(expected.has_value(), "a key written into an empty file is found");

    doc.setValue(w.section, w.key, w.value);
    const IniDocument again(doc.toBytes());
    FUZZ_CHECK(again.value(w.section, w.key) == expected,
               "a written key reads back as from a file of its own");
    for (int i = 0; i < keys.size(); ++i) {
        const bool same = keys[i].first.compare(w.section, Qt::CaseInsensitive) == 0 &&
                          keys[i].second.compare(w.key, Qt::CaseInsensitive) == 0;
        if (!same)
            FUZZ_CHECK(again.value(keys[i].first, keys[i].second) == before[i],
                       "other keys keep their values");
    }
}

void checkFile(const QByteArray& file, const Write& w) {
    // In memory where there is such a folder: a written file is synced to the disk.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/ztgl-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/ztgl-fuzz-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("kxconfig.ini"));
    const QString alonePath = dir.filePath(QStringLiteral("alone.ini"));
    QFile::remove(alonePath);
    Write_Ini(w.section, w.key, w.value, alonePath);
    const QString expected = Read_Ini(w.section, w.key, alonePath);

    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(file) == file.size(),
               "test file");
    f.close();
    const IniDocument doc(file);
    for (const QString& section : doc.sectionNames().mid(0, 4))
        Read_Ini(section, w.key, path);
    Write_Ini(w.section, w.key, w.value, path);
    FUZZ_CHECK(Read_Ini(w.section, w.key, path) == expected,
               "Write_Ini then Read_Ini as in a file of its own");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::failOnMessages();
    const auto [file, command] = fuzz::splitAtNul(data, size);
    const std::optional<Write> given = command ? writeOf(*command) : std::nullopt;
    Write w = given.value_or(
        Write{QStringLiteral("SERVERINFO"), QStringLiteral("IP"), QStringLiteral(" 192.168.0.10 ")});
    // What Write_Ini hands on: the text as the code page holds it.
    for (QString* s : {&w.section, &w.key, &w.value})
        *s = cp936::decode(cp936::encode(*s));
    if (!writable(w))
        return 0;
    checkDocument(file, w);
    checkFile(file, w);
    return 0;
}
