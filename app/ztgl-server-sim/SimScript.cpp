#include "SimScript.h"

#include <QRegularExpression>
#include <QStringList>

#include "platform/Codepage936.h"

namespace ztgl::sim {
namespace {

bool fail(QString* error, int line, const QString& reason) {
    if (error)
        *error = QStringLiteral("line %1: %2").arg(line).arg(reason);
    return false;
}

// A number argument in front of the rest: "200 TEXT" → 200 and "TEXT".
bool takeNumber(QString& rest, int& number) {
    const int space = rest.indexOf(QLatin1Char(' '));
    bool ok = false;
    number = (space < 0 ? rest : rest.left(space)).toInt(&ok);
    rest = space < 0 ? QString() : rest.mid(space + 1);
    return ok && number >= 0;
}

}  // namespace

QByteArray SimScript::bytesOf(const QString& text) {
    static const QRegularExpression escape(QStringLiteral("\\\\x([0-9A-Fa-f]{2})"));
    QByteArray bytes;
    int from = 0;
    for (auto it = escape.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        bytes += cp936::encode(text.mid(from, m.capturedStart() - from));
        bytes += char(m.captured(1).toInt(nullptr, 16));
        from = m.capturedEnd();
    }
    return bytes + cp936::encode(text.mid(from));
}

bool SimScript::parse(const QString& text, QString* error) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        // WHEN and ACTION are separated by blanks; the argument keeps its own blanks but the
        // ones in front of it.
        static const QRegularExpression head(QStringLiteral("^\\s*(\\S+)\\s+(\\S+)\\s*(.*)$"));
        const auto m = head.match(line);
        if (!m.hasMatch())
            return fail(error, i + 1, QStringLiteral("expected WHEN ACTION [ARGUMENT]"));
        Rule rule;
        QString when = m.captured(1);
        rule.occurrence = 0;
        const int hash = when.indexOf(QLatin1Char('#'));
        if (hash >= 0) {
            bool ok = false;
            rule.occurrence = when.mid(hash + 1).toInt(&ok);
            if (!ok || rule.occurrence < 1)
                return fail(error, i + 1, QStringLiteral("bad occurrence in '%1'").arg(when));
            when = when.left(hash);
        }
        rule.when = when.toUpper();
        if (rule.when != QLatin1String("CONNECTED") && rule.when.size() != 8)
            return fail(error, i + 1,
                        QStringLiteral("'%1' is neither a tag of 8 characters nor 'connected'").arg(when));

        const QString action = m.captured(2).toLower();
        QString rest = m.captured(3);
        Action& a = rule.action;
        if (action == QLatin1String("answer")) {
            a.kind = Action::Answer;
        } else if (action == QLatin1String("send")) {
            a.kind = Action::Send;
            a.bytes = bytesOf(rest);
        } else if (action == QLatin1String("split") || action == QLatin1String("repeat")) {
            a.kind = action == QLatin1String("split") ? Action::Split : Action::Repeat;
            if (!takeNumber(rest, a.number))
                return fail(error, i + 1, QStringLiteral("%1 needs a number of bytes").arg(action));
            a.bytes = bytesOf(rest);
        } else if (action == QLatin1String("pause")) {
            a.kind = Action::Pause;
            if (!takeNumber(rest, a.number))
                return fail(error, i + 1, QStringLiteral("pause needs milliseconds"));
        } else if (action == QLatin1String("close")) {
            a.kind = Action::Close;
        } else if (action == QLatin1String("silent")) {
            a.kind = Action::Silent;
        } else {
            return fail(error, i + 1, QStringLiteral("unknown action '%1'").arg(action));
        }
        m_rules.push_back(rule);
    }
    return true;
}

QVector<SimScript::Action> SimScript::actionsFor(const QString& when, int occurrence) const {
    QVector<Action> exact;
    QVector<Action> any;
    for (const Rule& r : m_rules) {
        if (r.when != when)
            continue;
        if (r.occurrence == occurrence)
            exact.push_back(r.action);
        else if (r.occurrence == 0)
            any.push_back(r.action);
    }
    return exact.isEmpty() ? any : exact;
}

}  // namespace ztgl::sim
