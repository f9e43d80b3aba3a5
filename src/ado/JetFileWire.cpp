#include "ado/JetFileWire.h"

#include <QDataStream>
#include <QIODevice>
#include <QtEndian>

namespace ado {

// Found by argument-dependent lookup when the lists of columns and indexes are streamed.
static QDataStream& operator<<(QDataStream& s, const JetFileColumn& c);
static QDataStream& operator>>(QDataStream& s, JetFileColumn& c);
static QDataStream& operator<<(QDataStream& s, const JetFileIndex& i);
static QDataStream& operator>>(QDataStream& s, JetFileIndex& i);

namespace {
constexpr QDataStream::Version kVersion = QDataStream::Qt_6_0;

// A list as QDataStream writes it (a 32-bit count, then the elements), read without Qt's own reading, which
// makes room for as many elements as the count claims before it reads one: a damaged count would ask for
// gigabytes. No element takes less than 4 bytes, so a count beyond a quarter of the bytes left is damage.
template <typename List>
void readList(QDataStream& s, List& list) {
    quint32 n = 0;
    s >> n;
    list.clear();
    if (s.status() == QDataStream::Ok && n > s.device()->bytesAvailable() / 4)
        s.setStatus(QDataStream::ReadCorruptData);
    for (quint32 i = 0; i < n && s.status() == QDataStream::Ok; ++i) {
        typename List::value_type v;
        s >> v;
        list.append(v);
    }
}

}  // namespace

static QDataStream& operator<<(QDataStream& s, const JetFileColumn& c) {
    return s << c.name << c.type << c.size << c.precision << c.scale << c.autoNumber << c.required
             << c.defaultValue;
}

static QDataStream& operator>>(QDataStream& s, JetFileColumn& c) {
    return s >> c.name >> c.type >> c.size >> c.precision >> c.scale >> c.autoNumber >> c.required >>
           c.defaultValue;
}

static QDataStream& operator<<(QDataStream& s, const JetFileIndex& i) {
    return s << i.name << i.kind << i.unique << i.columns;
}

static QDataStream& operator>>(QDataStream& s, JetFileIndex& i) {
    s >> i.name >> i.kind >> i.unique;
    readList(s, i.columns);
    return s;
}

QByteArray JetFileFrame::encode() const {
    QByteArray payload;
    QDataStream s(&payload, QIODevice::WriteOnly);
    s.setVersion(kVersion);
    s << quint8(tag);
    switch (tag) {
        case Header:
            s << header.version << header.codePage << header.password;
            break;
        case Table:
            s << table.name << table.system << table.rowCount << table.columns << table.indexes;
            break;
        case Row:
            s << values;
            break;
        case End:
            s << rows;
            break;
        case Failure:
            s << message;
            break;
    }
    QByteArray out(4, Qt::Uninitialized);
    qToLittleEndian(quint32(payload.size()), out.data());
    return out + payload;
}

bool JetFileFrame::decode(const QByteArray& payload, JetFileFrame* frame) {
    QDataStream s(payload);
    s.setVersion(kVersion);
    quint8 tag = 0;
    s >> tag;
    frame->tag = Tag(tag);
    switch (tag) {
        case Header:
            s >> frame->header.version >> frame->header.codePage >> frame->header.password;
            break;
        case Table:
            s >> frame->table.name >> frame->table.system >> frame->table.rowCount;
            readList(s, frame->table.columns);
            readList(s, frame->table.indexes);
            break;
        case Row:
            readList(s, frame->values);
            break;
        case End:
            s >> frame->rows;
            break;
        case Failure:
            s >> frame->message;
            break;
        default:
            return false;
    }
    return s.status() == QDataStream::Ok && s.atEnd();
}

JetFileFrame::Taken JetFileFrame::take(const QByteArray& output, qint64* offset, qint64 limit,
                                       JetFileFrame* frame) {
    const qint64 waiting = output.size() - *offset;
    if (waiting < 4)
        return Taken::Partial;
    const quint32 length = qFromLittleEndian<quint32>(output.constData() + *offset);
    if (length > limit)
        return Taken::Bad;
    if (waiting - 4 < qint64(length))
        return Taken::Partial;
    const bool ok = decode(output.mid(*offset + 4, length), frame);
    *offset += 4 + length;
    return ok ? Taken::Whole : Taken::Bad;
}

}  // namespace ado
