// The messages of the reader of Jet files as the engine cuts them out of the reader's output.
#include <gtest/gtest.h>

#include <QtEndian>

#include "ado/JetFileWire.h"

namespace ado {
namespace {

QByteArray framed(const QByteArray& payload) {
    QByteArray length(4, '\0');
    qToLittleEndian(quint32(payload.size()), length.data());
    return length + payload;
}

TEST(JetFileWire, MessagesAreCutWholeOrNotAtAll) {
    JetFileFrame row;
    row.tag = JetFileFrame::Row;
    row.values = {QByteArray("\1\2", 2), QByteArray()};
    const QByteArray message = row.encode();
    // A row's count of values that the bytes left cannot hold: Qt would first make room for them all.
    QByteArray hugeCount = message.mid(4);
    qToBigEndian(quint32(0x7ffffff0), hugeCount.data() + 1);
    using T = JetFileFrame::Taken;
    // clang-format off
    const struct { const char* what; QByteArray output; qint64 limit; T taken; qint64 offset; } cases[] = {
        {"whole, with the next one begun", message + message.left(6), 1000, T::Whole, message.size()},
        {"length not complete", message.left(3), 1000, T::Partial, 0}, {"payload not complete", message.left(message.size() - 1), 1000, T::Partial, 0},
        {"longer than the limit", message.left(4), message.size() - 5, T::Bad, 0}, {"no message", framed("?"), 1000, T::Bad, 5},
        {"bytes after the message", framed(message.mid(4) + 'x'), 1000, T::Bad, message.size() + 1},
        {"count of values beyond its bytes", framed(hugeCount), 1000, T::Bad, message.size()},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        qint64 offset = 0;
        JetFileFrame f;
        EXPECT_EQ(JetFileFrame::take(c.output, &offset, c.limit, &f), c.taken);
        EXPECT_EQ(offset, c.offset);
        if (c.taken == T::Whole) {
            EXPECT_EQ(f.tag, JetFileFrame::Row);
            EXPECT_EQ(f.values, row.values);
            EXPECT_TRUE(f.values[1].isNull());
        }
    }
}

}  // namespace
}  // namespace ado
