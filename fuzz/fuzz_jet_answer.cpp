// What the reader of Jet files (ztgl-jetread) answers, as the engine takes it apart: any bytes as the child's
// output. They are cut into messages (JetFileFrame::take), the header's password is read, every table
// definition goes into the catalogue (JetFileCatalog, the type names through JetTypes), and every row's
// values are decoded by the columns of the table definition before them (JetFileValue). Oracles:
// - a message read writes out as a message that reads back as the same one, and writes out alike again;
// - a value that cannot be decoded is the engine's error 3049 naming the file; nothing else is ever thrown;
// - whole numbers and Jet 4 text (uncompressed) decode to values that give back their bytes.
#include <QtEndian>
#include <cmath>
#include <cstring>

#include "FuzzSupport.h"
#include "ado/JetFileCatalog.h"
#include "ado/JetFileValue.h"
#include "platform/RuntimeError.h"

using namespace ado;

namespace {

const QString kFile = QStringLiteral("/data/帐套.mdb");

QByteArray bytesOf(const QVariant& v, const JetFileColumn& c) {
    QByteArray out(8, '\0');
    switch (c.type) {
        case JetByte:
            return QByteArray(1, char(v.toInt()));
        case JetInt:
            qToLittleEndian(qint16(v.toInt()), out.data());
            return out.left(2);
        case JetLong:
        case JetComplex:
            qToLittleEndian(qint32(v.toInt()), out.data());
            return out.left(4);
        case JetDouble: {
            const double d = v.toDouble();
            std::memcpy(out.data(), &d, 8);
            return out;
        }
        default:
            return QByteArray();
    }
}

// The value, or no value when the bytes cannot be one.
QVariant checkedValue(const JetFileColumn& c, const QByteArray& raw, const JetFileHeader& header) {
    QVariant v;
    try {
        v = JetFileValue::decode(c, raw, header, kFile);
    } catch (const ztgl::RuntimeError& e) {
        FUZZ_CHECK(e.number() == 3049 && e.description().contains(kFile), "a damaged value is error 3049");
        return QVariant();
    }
    FUZZ_CHECK(raw.isNull() == !v.isValid(), "Null and only Null is no value");
    const QByteArray back = bytesOf(v, c);
    if (!back.isEmpty() && !(c.type == JetDouble && std::isnan(v.toDouble())))
        FUZZ_CHECK(back == raw, "a number gives back its bytes");
    if ((c.type == JetText || c.type == JetMemo) && header.version != 0 && raw.size() % 2 == 0 &&
        !raw.startsWith("\xff\xfe")) {
        const QString text = v.toString();
        FUZZ_CHECK(QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2) == raw,
                   "Jet 4 text gives back its bytes");
    }
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray output = ztgl::fuzz::bytesOf(data, size);
    JetFileHeader header;
    QVector<JetFileTable> tables;
    JetFileTable head;
    QVector<QVector<QVariant>> rows;  // of the last table, for the catalogue as MSysRelationships
    qint64 offset = 0;
    JetFileFrame f;
    while (JetFileFrame::take(output, &offset, 1 << 20, &f) == JetFileFrame::Taken::Whole) {
        const QByteArray written = f.encode();
        JetFileFrame again;
        FUZZ_CHECK(JetFileFrame::decode(written.mid(4), &again) && again.encode() == written,
                   "a message read writes out as itself");
        switch (f.tag) {
            case JetFileFrame::Header:
                header = f.header;
                JetFileValue::password(header);
                break;
            case JetFileFrame::Table:
                tables.append(f.table);
                head = f.table;
                rows.clear();
                break;
            case JetFileFrame::Row: {
                QVector<QVariant> row;
                for (int i = 0; i < f.values.size() && i < head.columns.size(); ++i)
                    row.append(checkedValue(head.columns[i], f.values[i], header));
                rows.append(row);
                break;
            }
            default:
                break;
        }
        f = JetFileFrame();
    }
    JetFileCatalog::build(tables, header, head.columns, rows);
    return 0;
}
