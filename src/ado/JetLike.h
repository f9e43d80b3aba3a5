#pragma once

#include <QChar>
#include <QString>

namespace ado {

// Jet's LIKE in its ANSI-92 form, which ADO uses: "%" any run of characters, "_" one character,
// "[abc]", "[a-z]" and "[!abc]" one character of (or not of) a set; "[%]", "[_]" and "[[]" therefore
// match the character itself. Letters match without regard to case. A "[" that is never closed stands
// for itself.
class JetLike {
public:
    // `escape` (the ESCAPE clause, not used by Jet) makes the character after it stand for itself.
    static bool match(const QString& text, const QString& pattern, QChar escape = QChar());
};

}  // namespace ado
