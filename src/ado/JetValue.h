#pragma once

#include <QVariant>

struct sqlite3_value;
struct sqlite3_context;

namespace ado {

// Values crossing into and out of the engine. A stored value is null (invalid QVariant), qlonglong,
// double, QString or QByteArray.
class JetValue {
public:
    static QVariant read(sqlite3_value* value);
    // Sets a function's result: bool as 1/0, integers, doubles, text, bytes; invalid or null is Null.
    static void setResult(sqlite3_context* ctx, const QVariant& value);
};

}  // namespace ado
