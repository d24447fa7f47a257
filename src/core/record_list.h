#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <vector>

#include "data/database.h"

namespace torvane {

// The rows a record screen walks through: only the keys are read up front (so a
// file of 20,000 customers opens at once); the current row is read by its key.
class RecordList {
  public:
    // selectKeysSql returns the key column in the order to walk, e.g.
    // "SELECT Id_Cli FROM Clientes ORDER BY Id_Cli".
    void load(Database& db, const QString& table, const QString& keyColumn,
              const QString& selectKeysSql, const QVariantList& params = {});
    void reload();

    int count() const { return static_cast<int>(keys_.size()); }
    bool isEmpty() const { return keys_.empty(); }
    // 0-based position; -1 when there is no current row.
    int position() const { return position_; }
    bool hasCurrent() const { return position_ >= 0 && position_ < count(); }
    QVariant currentKey() const;
    // The current row, read fresh from the database; empty when there is none.
    Row current() const;

    void first();
    void previous();  // stays on the first row
    void next();      // stays on the last row
    void last();
    void moveTo(int position);
    // Moves to the row with this key; false (and no move) when it is not in the list.
    bool moveToKey(const QVariant& key);

  private:
    Database* db_ = nullptr;
    QString table_, keyColumn_, sql_;
    QVariantList params_;
    std::vector<QVariant> keys_;
    int position_ = -1;
};

}  // namespace torvane
