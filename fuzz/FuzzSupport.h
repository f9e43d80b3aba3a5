#pragma once

// What every fuzz target shares: the oracle's failure, the input as text, and a screen port that
// treats any message as a finding (none of the fuzzed procedures may report an error for any input).
#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "process/UiPort.h"

namespace ztgl::fuzz {

// An oracle's verdict: libFuzzer keeps the input that made it fail (crash-…) and stops.
#define FUZZ_CHECK(cond, what)                                                             \
    do {                                                                                   \
        if (!(cond)) {                                                                     \
            std::fprintf(stderr, "oracle failed: %s (%s:%d)\n", what, __FILE__, __LINE__); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

inline QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// An input of two parts: what comes before the first NUL byte, and what comes after it (nothing
// when there is no NUL).
struct TwoParts {
    QByteArray first;
    std::optional<QByteArray> second;
};
inline TwoParts splitAtNul(const uint8_t* data, size_t size) {
    const QByteArray input = bytesOf(data, size);
    const qsizetype nul = input.indexOf('\0');
    if (nul < 0)
        return {input, std::nullopt};
    return {input.left(nul), input.mid(nul + 1)};
}

// The input read three ways, so that text of every kind reaches the parsers: as UTF-8 (invalid
// sequences become U+FFFD), as raw UTF-16 (lone surrogates included) and as code page 936 bytes.
inline QString utf16Of(const QByteArray& bytes) {
    return QString(reinterpret_cast<const QChar*>(bytes.constData()), bytes.size() / 2);
}

// The input read front to back as a script of small choices and pieces of bytes; past its end every
// choice is 0 and every piece empty.
class Script {
public:
    Script(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool atEnd() const { return m_at >= m_size; }
    uint8_t byte() { return atEnd() ? 0 : m_data[m_at++]; }
    QByteArray bytes(size_t n) {
        n = std::min(n, m_size - std::min(m_at, m_size));
        const QByteArray out(reinterpret_cast<const char*>(m_data + m_at), qsizetype(n));
        m_at += n;
        return out;
    }
    // A piece whose length comes first, in one byte.
    QByteArray piece() { return bytes(byte()); }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

class FailOnMessage final : public UiPort {
public:
    MsgAnswer message(const QString& text, const QString&, MsgIcon, MsgButtons) override {
        std::fprintf(stderr, "unexpected message: %s\n", text.toUtf8().constData());
        std::abort();
    }
    void showModal(ModalForm&) override {}
    void doEvents() override {}
    void setMainWindowEnabled(bool) override {}
};

inline void failOnMessages() {
    static FailOnMessage port;
    setUi(&port);
}

}  // namespace ztgl::fuzz
