#include "import/table_reader.h"

namespace torvane::import {

QString valueText(const Value& v) {
    struct Visitor {
        QString operator()(std::monostate) const { return {}; }
        QString operator()(const QString& s) const { return s; }
        QString operator()(qint64 n) const { return QString::number(n); }
        QString operator()(double d) const { return QString::number(d, 'g', 17); }
        QString operator()(bool b) const { return b ? QStringLiteral("1") : QStringLiteral("0"); }
        QString operator()(const QDateTime& d) const {
            return d.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        }
        QString operator()(Money m) const {
            const qint64 u = m.units();
            const qint64 a = u < 0 ? -u : u;
            return QStringLiteral("%1%2.%3")
                .arg(u < 0 ? QStringLiteral("-") : QString())
                .arg(a / Money::kScale)
                .arg(a % Money::kScale, 4, 10, QLatin1Char('0'));
        }
        QString operator()(const QByteArray& b) const { return QString::fromLatin1(b.toHex()); }
    };
    return std::visit(Visitor{}, v);
}

MemoryTables::Table* MemoryTables::find(const QString& name) {
    for (auto& t : tables_)
        if (t.name.compare(name, Qt::CaseInsensitive) == 0) return &t;
    return nullptr;
}

MemoryTables::Table& MemoryTables::add(const QString& name, const QStringList& columns) {
    if (Table* t = find(name)) {
        *t = Table{name, columns, {}};
        return *t;
    }
    tables_.push_back(Table{name, columns, {}});
    return tables_.back();
}

void MemoryTables::addRow(const QString& table, std::vector<Value> values) {
    Table* t = find(table);
    if (!t) throw ImportError(QStringLiteral("No existe la tabla ") + table);
    values.resize(static_cast<std::size_t>(t->columns.size()));
    t->rows.push_back(std::move(values));
}

QStringList MemoryTables::tables() {
    QStringList names;
    for (const auto& t : tables_) names << t.name;
    return names;
}

QStringList MemoryTables::columns(const QString& table) {
    const Table* t = find(table);
    return t ? t->columns : QStringList();
}

void MemoryTables::readRows(const QString& table,
                            const std::function<void(const std::vector<Value>&)>& row) {
    const Table* t = find(table);
    if (!t) return;
    for (const auto& r : t->rows) row(r);
}

}  // namespace torvane::import
