#include "core/record_store.h"

#include <QSet>
#include <QSqlQuery>
#include <stdexcept>

#include "core/format.h"
#include "core/money.h"

namespace torvane {

namespace {

QVariant storedValue(const FieldBinding& field, const QString& text, bool amount) {
    if (text.trimmed().isEmpty()) return {};
    if (field.date) {
        const auto date = parseDisplayDate(text);
        if (!date) throw std::invalid_argument("date");
        return toIsoDate(*date);
    }
    if (amount) {
        const auto money = Money::parse(text);
        if (!money) throw std::invalid_argument("amount");
        return money->toDb();
    }
    return text;
}

}  // namespace

qint64 writeRecord(Database& db, const QString& table, const QString& keyColumn, const QVariant& id,
                   const QList<FieldBinding>& fields, const Row& values,
                   const QStringList& amountColumns, const Row& fixedValues) {
    QStringList columns;
    QVariantList params;
    for (auto it = fixedValues.cbegin(); it != fixedValues.cend(); ++it) {
        columns << it.key();
        params << it.value();
    }
    for (const FieldBinding& f : fields) {
        const QString column = QString::fromLatin1(f.column);
        columns << column;
        params << storedValue(f, values.value(column).toString(), amountColumns.contains(column));
    }
    if (!id.isValid() || id.isNull()) {
        QStringList marks;
        for (qsizetype i = 0; i < columns.size(); ++i) marks << QStringLiteral("?");
        return db.insert(
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(table, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
            params);
    }
    for (QString& c : columns) c += QStringLiteral(" = ?");
    params << id;
    db.exec(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                .arg(table, columns.join(QLatin1Char(',')), keyColumn),
            params);
    return id.toLongLong();
}

QString missingFields(const Row& values, const QStringList& columns, const QString& message) {
    for (const QString& c : columns)
        if (values.value(c).toString().trimmed().isEmpty()) return message;
    return {};
}

QString unreadableValue(const Row& values, const QList<FieldBinding>& fields,
                        const QStringList& amountColumns) {
    for (const FieldBinding& f : fields) {
        const QString column = QString::fromLatin1(f.column);
        const QString text = values.value(column).toString();
        if (text.trimmed().isEmpty()) continue;
        if (f.date && !parseDisplayDate(text)) return QStringLiteral("La fecha no es válida");
        if (amountColumns.contains(column) && !Money::parse(text))
            return QStringLiteral("El importe no es válido: ") + text;
    }
    return {};
}

QString paddedCode(int n) {
    return QString::number(n).rightJustified(4, QLatin1Char('0'));
}

QString firstFreeCode(Database& db, const QString& table, const QString& column) {
    // Only all-digit codes of four or more characters can equal a candidate.
    QSet<int> used;
    QSqlQuery q = db.execForward(QStringLiteral("SELECT %1 FROM %2 WHERE %1 GLOB "
                                                "'[0-9][0-9][0-9][0-9]*'")
                                     .arg(column, table));
    while (q.next()) {
        const QString code = q.value(0).toString();
        bool ok = false;
        const int n = code.toInt(&ok);
        if (ok && n > 0 && paddedCode(n) == code) used.insert(n);
    }
    int n = 1;
    while (used.contains(n)) ++n;
    return paddedCode(n);
}

QString nextNumericCode(Database& db, const QString& table, const QString& column,
                        const QString& keyColumn) {
    const auto row = db.firstRow(
        QStringLiteral("SELECT %1 FROM %2 ORDER BY %3 DESC LIMIT 1").arg(column, table, keyColumn));
    if (!row) return {};
    bool ok = false;
    const qlonglong n = row->value(column).toString().trimmed().toLongLong(&ok);
    return ok ? QString::number(n + 1) : QString();
}

}  // namespace torvane
