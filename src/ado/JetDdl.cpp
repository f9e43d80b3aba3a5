#include "ado/JetDdl.h"

#include <algorithm>

#include "ado/JetLexer.h"
#include "ado/JetTypes.h"

namespace ado {
namespace {

using Tokens = QVector<JetToken>;

struct TableDef {
    QString name;
    int open = -1;  // token of the "(" that opens the column list
    bool withoutRowid = false;
};

// Where the definition after CREATE TABLE (or ALTER TABLE) names the table, from token `at`.
int tableName(const Tokens& t, int at, QString* name) {
    if (at + 2 < t.size() && t[at].is("IF") && t[at + 1].is("NOT") && t[at + 2].is("EXISTS"))
        at += 3;
    if (at >= t.size() || !t[at].isName())
        return -1;
    *name = t[at].text;
    ++at;
    if (at + 1 < t.size() && t[at].isSymbol('.') && t[at + 1].isName()) {
        *name = t[at + 1].text;
        at += 2;
    }
    return at;
}

TableDef createTable(const Tokens& t) {
    TableDef def;
    int i = 0;
    if (t.size() < 4 || !t[i].is("CREATE"))
        return def;
    ++i;
    if (t[i].is("TEMP") || t[i].is("TEMPORARY"))
        ++i;
    if (i >= t.size() || !t[i].is("TABLE"))
        return def;
    i = tableName(t, i + 1, &def.name);
    if (i < 0 || i >= t.size() || !t[i].isSymbol('('))
        return def;
    def.open = i;
    const int close = JetLexer::closingParen(t, i);
    def.withoutRowid =
        close > 0 && close + 2 < t.size() && t[close + 1].is("WITHOUT") && t[close + 2].is("ROWID");
    return def;
}

bool isTableConstraint(const JetToken& first) {
    return first.is("CONSTRAINT") || first.is("PRIMARY") || first.is("UNIQUE") || first.is("FOREIGN") ||
           first.is("CHECK");
}

bool isColumnKeyword(const JetToken& t) {
    static const char* const words[] = {"CONSTRAINT", "PRIMARY", "NOT",        "NULL",      "UNIQUE", "CHECK",
                                        "DEFAULT",    "COLLATE", "REFERENCES", "GENERATED", "AS",     "WITH"};
    for (const char* w : words)
        if (t.is(w))
            return true;
    return false;
}

// One column definition: the tokens [first, last) of its item.
struct ColumnDef {
    int first = 0, last = 0;
    int typeFirst = -1, typeLast = -1;  // tokens of the declared type, "(n)" included; -1 when none
    int wordsLast = -1;                 // end of the type's name, before "(n)"
    QString name;
    QString typeText(const QString& sql, const Tokens& t) const {
        if (typeFirst < 0)
            return QString();
        return sql.mid(t[typeFirst].start, t[typeLast - 1].end - t[typeFirst].start);
    }
};

ColumnDef columnDef(const Tokens& t, int first, int last) {
    ColumnDef c;
    c.first = first;
    c.last = last;
    c.name = t[first].text;
    int i = first + 1;
    while (i < last && t[i].kind == JetToken::Word && !isColumnKeyword(t[i]))
        ++i;
    if (i > first + 1) {
        c.wordsLast = i;
        if (i < last && t[i].isSymbol('(')) {
            const int close = JetLexer::closingParen(t, i);
            if (close > 0 && close < last)
                i = close + 1;
        }
        c.typeFirst = first + 1;
        c.typeLast = i;
    }
    return c;
}

QStringList columnList(const Tokens& t, int open) {
    QStringList out;
    for (const auto& item : JetLexer::items(t, open))
        if (t[item.first].isName())
            out.append(t[item.first].text);
    return out;
}

struct Edit {
    int from, to;
    QString text;
};

QString bracketed(const QString& name) {
    return QLatin1Char('[') + name + QLatin1Char(']');
}

QString counterTrigger(const QString& table, const QString& column, const QString& seed,
                       const QString& step) {
    return QStringLiteral(
               "CREATE TRIGGER %1 AFTER INSERT ON %2 FOR EACH ROW WHEN NEW.%3 IS NULL BEGIN "
               "UPDATE %2 SET %3 = (SELECT IFNULL(MAX(%3) + %5, %4) FROM %2) WHERE rowid = NEW.rowid; END")
        .arg(bracketed(table + QLatin1Char('_') + column + QStringLiteral("_Counter")), bracketed(table),
             bracketed(column), seed, step);
}

// The edits of one column definition; a counter adds its trigger to `after`.
void rewriteColumn(const QString& sql, const Tokens& t, const ColumnDef& c, const QString& table,
                   bool withRowid, QVector<Edit>* edits, QStringList* after) {
    const JetColumnType type = JetTypes::fromDeclared(c.typeText(sql, t));
    bool hasCollate = false;
    for (int i = c.first + 1; i < c.last; ++i) {
        if (t[i].is("COLLATE"))
            hasCollate = true;
        if (t[i].is("WITH") && i + 1 < c.last && (t[i + 1].is("COMPRESSION") || t[i + 1].is("COMP")))
            edits->append({t[i].start, t[i + 1].end, QString()});
        if (type.autoIncrement && t[i].is("NOT") && i + 1 < c.last && t[i + 1].is("NULL"))
            edits->append({t[i].start, t[i + 1].end, QString()});
        if (t[i].is("DEFAULT") && i + 2 < c.last && t[i + 1].kind == JetToken::Word &&
            t[i + 2].isSymbol('(')) {
            const int close = JetLexer::closingParen(t, i + 2);
            if (close > 0 && close < c.last) {
                edits->append({t[i + 1].start, t[i + 1].start, QStringLiteral("(")});
                edits->append({t[close].end, t[close].end, QStringLiteral(")")});
            }
        }
    }
    if (type.autoIncrement) {
        QString seed = QStringLiteral("1"), step = QStringLiteral("1");
        // AUTOINCREMENT(seed, step)
        if (c.typeLast - c.typeFirst >= 6 && t[c.typeFirst + 1].isSymbol('(')) {
            seed = t[c.typeFirst + 2].text;
            step = t[c.typeFirst + 4].text;
        }
        edits->append({t[c.typeFirst].start, t[c.typeLast - 1].end, QStringLiteral("COUNTER")});
        if (withRowid)
            after->append(counterTrigger(table, c.name, seed, step));
    } else if (JetTypes::isText(type.type)) {
        // The engine stores by the type's name: a text name without CHAR, CLOB or TEXT in it (MEMO, NOTE,
        // ALPHANUMERIC) would turn "0012" into 12. A second word TEXT keeps such values as written.
        // (Insertions at one place come out in reverse order: the collation goes in first.)
        if (!hasCollate)
            edits->append({t[c.typeLast - 1].end, t[c.typeLast - 1].end, QStringLiteral(" COLLATE NOCASE")});
        const int wordsEnd = t[c.wordsLast - 1].end;
        const QString words = sql.mid(t[c.typeFirst].start, wordsEnd - t[c.typeFirst].start).toUpper();
        if (!words.contains(QLatin1String("CHAR")) && !words.contains(QLatin1String("CLOB")) &&
            !words.contains(QLatin1String("TEXT")))
            edits->append({wordsEnd, wordsEnd, QStringLiteral(" TEXT")});
    }
}

QString applyEdits(QString sql, QVector<Edit> edits) {
    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit& a, const Edit& b) { return a.from > b.from; });
    for (const Edit& e : edits)
        sql.replace(e.from, e.to - e.from, e.text);
    return sql;
}

}  // namespace

JetDdl::Plan JetDdl::rewrite(const QString& sql) {
    const Tokens t = JetLexer::tokenize(sql);
    QVector<Edit> edits;
    QStringList after;
    const TableDef def = createTable(t);
    if (def.open >= 0) {
        for (const auto& item : JetLexer::items(t, def.open)) {
            if (item.first >= item.second || isTableConstraint(t[item.first]) || !t[item.first].isName())
                continue;
            rewriteColumn(sql, t, columnDef(t, item.first, item.second), def.name, !def.withoutRowid, &edits,
                          &after);
        }
    } else if (t.size() > 4 && t[0].is("ALTER") && t[1].is("TABLE")) {
        QString table;
        int i = tableName(t, 2, &table);
        if (i > 0 && i + 1 < t.size() && t[i].is("ADD")) {
            ++i;
            if (t[i].is("COLUMN"))
                ++i;
            int last = t.size();
            if (last > i && t[last - 1].isSymbol(';'))
                --last;
            if (i < last && t[i].isName() && !isTableConstraint(t[i]))
                rewriteColumn(sql, t, columnDef(t, i, last), table, true, &edits, &after);
        }
    }
    return {applyEdits(sql, edits), after};
}

QVector<JetConstraint> JetDdl::constraints(const QString& createSql) {
    QVector<JetConstraint> out;
    const Tokens t = JetLexer::tokenize(createSql);
    const TableDef def = createTable(t);
    if (def.open < 0)
        return out;
    for (const auto& item : JetLexer::items(t, def.open)) {
        int i = item.first;
        const int last = item.second;
        if (i >= last)
            continue;
        const bool tableLevel = isTableConstraint(t[i]);
        QStringList own;
        if (!tableLevel) {
            own.append(t[i].text);
            i = columnDef(t, i, last).typeLast;
            if (i < 0)
                i = item.first + 1;
        }
        QString name;
        for (; i < last; ++i) {
            if (t[i].is("CONSTRAINT") && i + 1 < last) {
                name = t[++i].text;
                continue;
            }
            JetConstraint k{JetConstraint::Primary, name, own, QString()};
            int columnsAt = -1;
            if (t[i].is("PRIMARY") && i + 1 < last && t[i + 1].is("KEY")) {
                columnsAt = i + 2;
            } else if (t[i].is("UNIQUE")) {
                k.kind = JetConstraint::Unique;
                columnsAt = i + 1;
            } else if (t[i].is("FOREIGN") && i + 1 < last && t[i + 1].is("KEY")) {
                k.kind = JetConstraint::Foreign;
                columnsAt = i + 2;
            } else if (t[i].is("REFERENCES") && !tableLevel) {
                k.kind = JetConstraint::Foreign;
                columnsAt = i;
            } else {
                if (isColumnKeyword(t[i]))
                    name.clear();
                continue;
            }
            if (tableLevel && columnsAt < last && t[columnsAt].isSymbol('(')) {
                k.columns = columnList(t, columnsAt);
                columnsAt = JetLexer::closingParen(t, columnsAt) + 1;
                if (columnsAt <= 0)
                    break;
            }
            if (k.kind == JetConstraint::Foreign) {
                while (columnsAt < last && !t[columnsAt].is("REFERENCES"))
                    ++columnsAt;
                if (columnsAt + 1 < last)
                    k.refTable = t[columnsAt + 1].text;
            }
            out.append(k);
            name.clear();
            i = qMax(i, columnsAt - 1);
        }
    }
    return out;
}

}  // namespace ado
