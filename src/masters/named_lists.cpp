#include "masters/named_lists.h"

namespace torvane::named_lists {

namespace {

QList<GridColumn> articleColumns() {
    return {
        {QStringLiteral("Id_Art"), {}, ColumnKind::Hidden},
        {QStringLiteral("Codigo"), QStringLiteral("Codigo"), ColumnKind::Text, 100},
        {QStringLiteral("Nombre"), QStringLiteral("Nombre"), ColumnKind::Text, 205},
    };
}

}  // namespace

const NamedList& families() {
    static const NamedList list = {
        QStringLiteral("Familias"),
        QStringLiteral("Familias"),
        QStringLiteral("Id_Fam"),
        QStringLiteral("Familia"),
        QStringLiteral("MSHFamilia"),
        {"txtFamilia", "Familia"},
        QStringLiteral("TxtArticulosFamilia"),
        true,
        articleColumns(),
        QStringLiteral("Debe introducir un nombre para la nueva familia"),
        QStringLiteral("Seguro que quiere eliminar la familia "),
        QStringLiteral("Se han eliminado todos las familias"),
    };
    return list;
}

const NamedList& warehouses() {
    static const NamedList list = {
        QStringLiteral("Almacen"),
        QStringLiteral("Almacenes"),
        QStringLiteral("Id_Alm"),
        QStringLiteral("Almacen"),
        QStringLiteral("MSHAlmacenes"),
        {"txtAlmacen", "Almacen"},
        QStringLiteral("TxtArticuloAlmacen"),
        false,
        articleColumns(),
        QStringLiteral("Debe introducir un nombre para el nuevo almacen"),
        QStringLiteral("Seguro que quiere eliminar el almacen "),
        QStringLiteral("Se han eliminado todos los almacenes"),
    };
    return list;
}

SqlStatement namesOf(const NamedList& list) {
    return {QStringLiteral("SELECT %1, %2 FROM %3 ORDER BY %2, %1")
                .arg(list.keyColumn, list.nameColumn, list.table),
            {}};
}

SqlStatement keysOf(const NamedList& list) {
    return {QStringLiteral("SELECT %1 FROM %2 ORDER BY %3, %1")
                .arg(list.keyColumn, list.table, list.nameColumn),
            {}};
}

SqlStatement articlesWith(const NamedList& list, const QString& name) {
    return {QStringLiteral("SELECT Id_Art, Codigo, Nombre FROM Articulos WHERE %1 = ? "
                           "ORDER BY Id_Art")
                .arg(list.nameColumn),
            {name}};
}

QString checkName(const NamedList& list, const QString& name) {
    return name.trimmed().isEmpty() ? list.emptyNameMessage : QString();
}

qint64 saveName(Database& db, const NamedList& list, const QVariant& id, const QString& name) {
    Database::Transaction transaction(db);
    qint64 key = 0;
    if (!id.isValid() || id.isNull()) {
        key = db.insert(
            QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(list.table, list.nameColumn),
            {name});
    } else {
        key = id.toLongLong();
        const QVariant old = db.scalar(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                           .arg(list.nameColumn, list.table, list.keyColumn),
                                       {key});
        if (old.isValid() && !old.isNull())
            db.exec(QStringLiteral("UPDATE Articulos SET %1 = ? WHERE %1 = ?").arg(list.nameColumn),
                    {name, old});
        db.exec(QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 = ?")
                    .arg(list.table, list.nameColumn, list.keyColumn),
                {name, key});
    }
    transaction.commit();
    return key;
}

void deleteName(Database& db, const NamedList& list, qint64 id) {
    db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(list.table, list.keyColumn), {id});
}

}  // namespace torvane::named_lists
