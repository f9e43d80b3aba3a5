#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

namespace ado {

// Column types as a Jet file keeps them (the type byte of a column definition).
enum JetFileType : quint8 {
    JetBool = 0x01,
    JetByte = 0x02,
    JetInt = 0x03,
    JetLong = 0x04,
    JetMoney = 0x05,
    JetFloat = 0x06,
    JetDouble = 0x07,
    JetDateTime = 0x08,
    JetBinary = 0x09,
    JetText = 0x0a,
    JetOle = 0x0b,
    JetMemo = 0x0c,
    JetRepId = 0x0f,
    JetNumeric = 0x10,
    JetComplex = 0x12,
};

struct JetFileColumn {
    QString name;
    quint8 type = 0;  // JetFileType
    qint32 size = 0;  // bytes, as the file keeps it (Jet 4 text: two per character)
    quint8 precision = 0;
    quint8 scale = 0;
    bool autoNumber = false;
    QString required;      // the "Required" property as the reader shows it ("yes"/"no"); null when absent
    QString defaultValue;  // the "DefaultValue" property as stored; null when absent
};

struct JetFileIndex {
    QString name;
    quint8 kind = 0;  // 1 the primary key, 2 the index of a relationship, 0 any other
    bool unique = false;
    QStringList columns;
};

struct JetFileTable {
    QString name;
    bool system = false;
    quint32 rowCount = 0;  // as the table's definition counts its rows
    QVector<JetFileColumn> columns;
    QVector<JetFileIndex> indexes;
};

struct JetFileHeader {
    quint8 version = 0;  // 0 Jet 3, 1 Jet 4
    quint16 codePage = 0;
    QByteArray
        password;  // the database password's bytes, unmasked (code page text in Jet 3, UTF-16 in Jet 4)
};

// One message of the Jet file reader (ztgl-jetread) to the engine. On the wire each is a 32-bit length
// (little-endian) followed by that many bytes of payload, so that the engine can tell a whole message from
// one the reader did not finish.
struct JetFileFrame {
    enum Tag : quint8 { Header = 'H', Table = 'T', Row = 'R', End = 'E', Failure = 'X' };
    Tag tag = Failure;
    JetFileHeader header;        // Header
    JetFileTable table;          // Table: a definition of the catalogue, or the head of a table's rows
    QVector<QByteArray> values;  // Row: one raw value per column, a null array for Null
    quint32 rows = 0;            // End (of an answer): after a table's rows, their number
    QString message;             // Failure: what the reader found wrong

    // The whole message: length and payload.
    QByteArray encode() const;
    // Reads a payload (without its length). False when it is not a well-formed message.
    static bool decode(const QByteArray& payload, JetFileFrame* frame);

    // The next whole message of what the reader wrote, from `*offset` on: Whole (the message is in `frame`,
    // `*offset` past it), Partial (its bytes have not all come yet) or Bad (its length is over `limit`, or
    // the payload is no message).
    enum class Taken { Whole, Partial, Bad };
    static Taken take(const QByteArray& output, qint64* offset, qint64 limit, JetFileFrame* frame);
};

}  // namespace ado
