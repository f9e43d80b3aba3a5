#include "platform/IniDocument.h"

#include "platform/Codepage936.h"

namespace ztgl {
namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString trimBlanks(const QString& s) {
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && isBlank(s.at(from)))
        ++from;
    while (to > from && isBlank(s.at(to - 1)))
        --to;
    return s.mid(from, to - from);
}

QString unquote(const QString& s) {
    if (s.size() >= 2 && s.front() == s.back() &&
        (s.front() == QLatin1Char('"') || s.front() == QLatin1Char('\'')))
        return s.mid(1, s.size() - 2);
    return s;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

IniDocument::IniDocument(const QByteArray& bytes) {
    QByteArray body = bytes;
    if (body.startsWith(kUtf8Bom)) {
        m_utf8 = true;
        body.remove(0, kUtf8Bom.size());
    }
    bool inSection = false;
    qsizetype start = 0;
    while (start < body.size()) {
        qsizetype lf = body.indexOf('\n', start);
        QByteArray content;
        QByteArray end;
        if (lf < 0) {
            content = body.mid(start);
            if (content.endsWith('\r')) {
                content.chop(1);
                end = "\r";
            }
            start = body.size();
        } else {
            content = body.mid(start, lf - start);
            end = "\n";
            if (content.endsWith('\r')) {
                content.chop(1);
                end = "\r\n";
            }
            start = lf + 1;
        }
        if (m_newLine.isEmpty() && (end == "\r\n" || end == "\n"))
            m_newLine = end;
        Line line = parseLine(content, end, inSection);
        if (line.kind == Kind::Section)
            inSection = true;
        m_lines.append(line);
    }
    // Windows writes CRLF.
    if (m_newLine.isEmpty())
        m_newLine = "\r\n";
}

QString IniDocument::decode(const QByteArray& bytes) const {
    return m_utf8 ? QString::fromUtf8(bytes) : cp936::decode(bytes);
}

QByteArray IniDocument::encode(const QString& text) const {
    return m_utf8 ? text.toUtf8() : cp936::encode(text);
}

IniDocument::Line IniDocument::parseLine(const QByteArray& bytes, const QByteArray& end,
                                         bool inSection) const {
    Line line{bytes, end, Kind::Other, QString(), QString()};
    const QString text = trimBlanks(decode(bytes));
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close > 0) {
            line.kind = Kind::Section;
            line.name = trimBlanks(text.mid(1, close - 1));
        }
        return line;
    }
    if (!inSection || text.startsWith(QLatin1Char(';')))
        return line;
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (eq < 0)
        return line;
    line.kind = Kind::Key;
    line.name = trimBlanks(text.left(eq));
    line.value = unquote(trimBlanks(text.mid(eq + 1)));
    return line;
}

int IniDocument::findSection(const QString& section) const {
    for (int i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].kind == Kind::Section && sameName(m_lines[i].name, section))
            return i;
    return -1;
}

int IniDocument::findKey(const QString& section, const QString& key) const {
    bool inWanted = false;
    for (int i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        if (line.kind == Kind::Section)
            inWanted = sameName(line.name, section);
        else if (inWanted && line.kind == Kind::Key && sameName(line.name, key))
            return i;
    }
    return -1;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    const int i = findKey(section, key);
    if (i < 0)
        return std::nullopt;
    return m_lines[i].value;
}

QStringList IniDocument::sectionNames() const {
    QStringList names;
    for (const Line& line : m_lines)
        if (line.kind == Kind::Section && !names.contains(line.name, Qt::CaseInsensitive))
            names.append(line.name);
    return names;
}

void IniDocument::insertLine(int index, const QString& text) {
    // The line before the new one may be a last line without a line end, or one that ends in a
    // lone CR, which ends only the last line of a file.
    if (index > 0 && !m_lines[index - 1].end.endsWith('\n'))
        m_lines[index - 1].end = m_newLine;
    const bool inSection = true;
    m_lines.insert(index, parseLine(encode(text), m_newLine, inSection));
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    const int keyLine = findKey(section, key);
    if (keyLine >= 0) {
        Line& line = m_lines[keyLine];
        const qsizetype eq = line.bytes.indexOf('=');  // "=" is never the second byte of a character
        line = parseLine(line.bytes.left(eq + 1) + encode(value), line.end, true);
        return;
    }
    const QString keyText = key + QLatin1Char('=') + value;
    const int sectionLine = findSection(section);
    if (sectionLine < 0) {
        insertLine(m_lines.size(), QLatin1Char('[') + section + QLatin1Char(']'));
        insertLine(m_lines.size(), keyText);
        return;
    }
    int after = sectionLine;
    for (int i = sectionLine + 1; i < m_lines.size() && m_lines[i].kind != Kind::Section; ++i)
        if (m_lines[i].kind == Kind::Key)
            after = i;
    insertLine(after + 1, keyText);
}

QByteArray IniDocument::toBytes() const {
    QByteArray out;
    if (m_utf8)
        out = kUtf8Bom;
    for (const Line& line : m_lines) {
        out += line.bytes;
        out += line.end;
    }
    return out;
}

}  // namespace ztgl
