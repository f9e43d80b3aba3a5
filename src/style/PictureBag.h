#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <optional>

namespace ztgl::style {

// The bag of named pictures in "csxx.dac" beside the program: pictures that differ between
// deliveries (the login dialog's background) are kept out of the program.
//
// File layout, all integers little-endian:
//   offset 0  u16  8209 (a variant holding a byte array)
//   offset 2  u16  1    (one dimension)
//   offset 4  u32  N    (bytes of bag contents that follow)
//   offset 8  i32  lower bound of the array (any value; not used)
//   offset 12 N bytes of bag contents:
//     4 bytes "ZTPB", u32 entry count, then per entry:
//       u32 key length, the key in UTF-8 (a decimal text such as "201"),
//       u32 picture length, the picture as an image file (PNG, BMP, JPEG, ...).
// Bytes after the contents are ignored. When a key occurs twice, the first entry counts.
class PictureBag {
public:
    static constexpr quint16 kVariantByteArray = 8209;

    // The bag of a file; an empty bag when the file is missing, unreadable or not a bag.
    static PictureBag fromFile(const QString& path);
    static PictureBag fromFileBytes(const QByteArray& bytes);
    // gAppPath + "csxx.dac".
    static QString programBagPath();

    // The file form of the bag (for the delivery tools; the program itself never writes the file).
    QByteArray toFileBytes() const;

    void insert(const QString& key, const QByteArray& picture);
    std::optional<QByteArray> picture(const QString& key) const;
    int size() const { return int(m_pictures.size()); }

private:
    QMap<QString, QByteArray> m_pictures;
};

}  // namespace ztgl::style
