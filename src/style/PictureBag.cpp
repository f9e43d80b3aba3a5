#include "style/PictureBag.h"

#include <QFile>
#include <QtEndian>

#include "process/Globals.h"

namespace ztgl::style {
namespace {

const QByteArray kMagic = QByteArrayLiteral("ZTPB");
constexpr int kHeaderSize = 12;

// Reads little-endian integers and length-prefixed blocks; any read past the end makes it fail.
class Reader {
public:
    explicit Reader(const QByteArray& bytes) : m_bytes(bytes) {}
    bool ok() const { return m_ok; }
    quint32 u32() {
        const QByteArray b = take(4);
        return m_ok ? qFromLittleEndian<quint32>(b.constData()) : 0;
    }
    quint16 u16() {
        const QByteArray b = take(2);
        return m_ok ? qFromLittleEndian<quint16>(b.constData()) : 0;
    }
    QByteArray block() { return take(u32()); }
    QByteArray take(qint64 n) {
        if (!m_ok || n < 0 || n > m_bytes.size() - m_pos) {
            m_ok = false;
            return {};
        }
        const QByteArray out = m_bytes.mid(m_pos, n);
        m_pos += n;
        return out;
    }

private:
    const QByteArray& m_bytes;
    qint64 m_pos = 0;
    bool m_ok = true;
};

void putU32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void putU16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void putBlock(QByteArray& out, const QByteArray& block) {
    putU32(out, quint32(block.size()));
    out.append(block);
}

}  // namespace

PictureBag PictureBag::fromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromFileBytes(file.readAll());
}

PictureBag PictureBag::fromFileBytes(const QByteArray& bytes) {
    Reader r(bytes);
    if (r.u16() != kVariantByteArray || r.u16() != 1)
        return {};
    const quint32 length = r.u32();
    r.u32();  // lower bound
    const QByteArray contents = r.take(length);
    if (!r.ok())
        return {};

    Reader c(contents);
    if (c.take(kMagic.size()) != kMagic)
        return {};
    const quint32 count = c.u32();
    PictureBag bag;
    for (quint32 i = 0; i < count; ++i) {
        const QString key = QString::fromUtf8(c.block());
        const QByteArray picture = c.block();
        // A damaged bag gives nothing rather than half of it.
        if (!c.ok())
            return {};
        if (!bag.m_pictures.contains(key))
            bag.m_pictures.insert(key, picture);
    }
    return bag;
}

QString PictureBag::programBagPath() {
    return gAppPath + QStringLiteral("csxx.dac");
}

QByteArray PictureBag::toFileBytes() const {
    QByteArray contents = kMagic;
    putU32(contents, quint32(m_pictures.size()));
    for (auto it = m_pictures.cbegin(); it != m_pictures.cend(); ++it) {
        putBlock(contents, it.key().toUtf8());
        putBlock(contents, it.value());
    }
    QByteArray out;
    putU16(out, kVariantByteArray);
    putU16(out, 1);
    putU32(out, quint32(contents.size()));
    putU32(out, 0);
    Q_ASSERT(out.size() == kHeaderSize);
    return out + contents;
}

void PictureBag::insert(const QString& key, const QByteArray& picture) {
    m_pictures.insert(key, picture);
}

std::optional<QByteArray> PictureBag::picture(const QString& key) const {
    const auto it = m_pictures.constFind(key);
    if (it == m_pictures.constEnd())
        return std::nullopt;
    return *it;
}

}  // namespace ztgl::style
