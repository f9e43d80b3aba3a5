#pragma once

#include <QByteArray>
#include <QVariant>
#include <QVector>

namespace ztgl {

// A checksum of every value of a table's rows that does not depend on the order of the rows: each row is
// hashed on its own, and the sorted row hashes are hashed together. Two tables give the same checksum when
// they hold the same rows with the same values (the same number of times), whatever their order. Values
// compare as the engines type them: numbers by value (an integer never equals a text), texts by every
// character, dates to the millisecond, bytes by every byte, Null only with Null.
class TableChecksum {
public:
    void add(const QVector<QVariant>& row);
    qint64 rows() const { return m_rows.size(); }
    QByteArray result() const;

private:
    QVector<QByteArray> m_rows;
};

}  // namespace ztgl
