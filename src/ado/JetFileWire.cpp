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
    return s >> i.name >> i.kind >> i.unique >> i.columns;
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
            s >> frame->table.name >> frame->table.system >> frame->table.rowCount >> frame->table.columns >>
                frame->table.indexes;
            break;
        case Row:
            s >> frame->values;
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

}  // namespace ado
