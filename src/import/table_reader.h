#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>
#include <variant>
#include <vector>

#include "core/money.h"

namespace torvane::import {

// One cell of a Jet file, typed as the file stores it. Currency keeps its four
// decimals; Binary is an OLE object, which has no place in the new file.
using Value =
    std::variant<std::monostate, QString, qint64, double, bool, QDateTime, Money, QByteArray>;

inline bool isNull(const Value& v) {
    return std::holds_alternative<std::monostate>(v);
}

// The text of a value as a person would read it back ("" for null); dates as
// "yyyy-MM-dd HH:mm:ss", currency with its four decimals and a point.
QString valueText(const Value& v);

// A failure that stops an import; the message is Spanish, ready for the user.
class ImportError : public std::runtime_error {
  public:
    explicit ImportError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

  private:
    QString message_;
};

// Where the rows of an older file come from: the Jet reader, or rows built in memory.
// Tables and columns are listed in stored order.
class TableReader {
  public:
    virtual ~TableReader() = default;
    virtual QStringList tables() = 0;
    virtual QStringList columns(const QString& table) = 0;
    // Calls row once per stored row, its values in the order of columns(). Throws
    // ImportError when the file cannot be read to the end.
    virtual void readRows(const QString& table,
                          const std::function<void(const std::vector<Value>&)>& row) = 0;
};

// Rows held in memory, in the older layout: what the tests and the benchmark feed the importer.
class MemoryTables : public TableReader {
  public:
    struct Table {
        QString name;
        QStringList columns;
        std::vector<std::vector<Value>> rows;
    };
    // Adds (or replaces) a table; returns it so rows can be appended.
    Table& add(const QString& name, const QStringList& columns);
    void addRow(const QString& table, std::vector<Value> values);

    QStringList tables() override;
    QStringList columns(const QString& table) override;
    void readRows(const QString& table,
                  const std::function<void(const std::vector<Value>&)>& row) override;

  private:
    Table* find(const QString& name);
    std::vector<Table> tables_;
};

}  // namespace torvane::import
