#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace ztgl {

// The bytes of one INI file, read the way Windows' profile functions read them and changed the
// way they write, keeping every line that is not written byte for byte.
//
// Reading rules: lines end in LF or CRLF; a section line is "[name]" with blanks and tabs allowed
// around the line and around the name; a key line is "key=value" inside a section; lines starting
// with ";" and lines without "=" are no keys. Names match without regard to case. Where a
// section or key occurs twice, the first occurrence in the file wins. Values are trimmed of blanks
// and tabs; a value wrapped in matching quotes ('…' or "…") loses them.
//
// The text is code page 936. A file that starts with a UTF-8 byte order mark (an editor saved it
// so) is read and written as UTF-8 and keeps its mark: the mark is never taken for part of the
// first line, so its first section is still found.
class IniDocument {
public:
    explicit IniDocument(const QByteArray& bytes = QByteArray());

    // The key's value as the profile functions give it; nothing when the section or key is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;
    QStringList sectionNames() const;  // in file order, first occurrences only

    // Sets the key's value, unchanged (blanks kept). An existing key line keeps everything up to
    // its "=" and gets the new value; a new key goes after the last key line of the section's
    // first occurrence (right after the section line when it has none); a new section goes at the
    // end of the file. New lines end like the file's first line (CRLF for a file without any).
    void setValue(const QString& section, const QString& key, const QString& value);

    QByteArray toBytes() const;

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        QByteArray bytes;  // without the line end
        QByteArray end;    // "\r\n", "\n", "\r" or "" for a last line without one
        Kind kind = Kind::Other;
        QString name;   // section or key name, trimmed
        QString value;  // key value as read (trimmed, unquoted)
    };

    Line parseLine(const QByteArray& bytes, const QByteArray& end, bool inSection) const;
    QString decode(const QByteArray& bytes) const;
    QByteArray encode(const QString& text) const;
    int findKey(const QString& section, const QString& key) const;  // line index or -1
    int findSection(const QString& section) const;
    void insertLine(int index, const QString& text);

    bool m_utf8 = false;
    QByteArray m_newLine;
    QVector<Line> m_lines;
};

}  // namespace ztgl
