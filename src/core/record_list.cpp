#include "core/record_list.h"

#include <QSqlQuery>

namespace torvane {

void RecordList::load(Database& db, const QString& table, const QString& keyColumn,
                      const QString& selectKeysSql, const QVariantList& params) {
    db_ = &db;
    table_ = table;
    keyColumn_ = keyColumn;
    sql_ = selectKeysSql;
    params_ = params;
    reload();
    position_ = keys_.empty() ? -1 : 0;
}

void RecordList::reload() {
    const QVariant keep = currentKey();
    keys_.clear();
    QSqlQuery q = db_->execForward(sql_, params_);
    while (q.next()) keys_.push_back(q.value(0));
    position_ = keys_.empty() ? -1 : 0;
    if (keep.isValid()) moveToKey(keep);
}

QVariant RecordList::currentKey() const {
    return hasCurrent() ? keys_[position_] : QVariant();
}

Row RecordList::current() const {
    if (!hasCurrent() || !db_) return {};
    // Table and key names are the program's own, never user text.
    auto row = db_->firstRow(
        QStringLiteral("SELECT * FROM \"%1\" WHERE \"%2\" = ?").arg(table_, keyColumn_),
        {keys_[position_]});
    return row ? *row : Row{};
}

void RecordList::first() {
    position_ = keys_.empty() ? -1 : 0;
}

void RecordList::previous() {
    if (position_ > 0) --position_;
}

void RecordList::next() {
    if (position_ >= 0 && position_ < count() - 1) ++position_;
}

void RecordList::last() {
    position_ = count() - 1;
}

void RecordList::moveTo(int position) {
    if (position >= 0 && position < count()) position_ = position;
}

bool RecordList::moveToKey(const QVariant& key) {
    for (int i = 0; i < count(); ++i) {
        if (keys_[i] == key || keys_[i].toString() == key.toString()) {
            position_ = i;
            return true;
        }
    }
    return false;
}

}  // namespace torvane
