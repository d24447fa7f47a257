#pragma once

#include <gtest/gtest.h>
#include <QFile>
#include <QString>
#include <algorithm>

#include "data/database.h"

namespace torvane::testing {

// Databases as older versions of the program left them.
enum class OldFormat {
    Current,
    NoIdProveedor,         // Articulos lacks Id_Proveedor
    NoTotal,               // Facturas lacks Total
    NoIdProveedorNoTotal,  // both
    IdProveedorMisplaced,  // Articulos.Id_Proveedor exists, but as the 12th column
};

namespace detail {
inline void dropColumn(Database& db, const QString& table, const QString& column) {
    // SQLite refuses to drop an indexed column.
    for (const auto& row :
         db.rows("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name=? AND sql LIKE ?",
                 {table, "%" + column + "%"}))
        db.exec(QStringLiteral("DROP INDEX \"%1\"").arg(row.value("name").toString()));
    db.exec(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(table, column));
}
}  // namespace detail

// Takes the invoice records' tables and triggers away, as a file of version 6 had none.
inline void dropInvoiceRecords(Database& db) {
    for (const char* table : {"NuevoRegistroFacturacion", "EnviosFacturacion",
                              "RegistrosFacturacion", "ConfigFacturacion", "RegistrosPendientes"})
        db.exec(QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(QLatin1String(table)));
    for (const auto& row :
         db.rows("SELECT name FROM sqlite_master WHERE type='trigger' AND name LIKE ?",
                 {"%_RegistrosFacturacion_%"}))
        db.exec(QStringLiteral("DROP TRIGGER \"%1\"").arg(row.value("name").toString()));
    db.exec("PRAGMA user_version=6");
}

// Reshapes an open database.
inline void reshape(Database& db, OldFormat format) {
    if (format == OldFormat::Current) return;
    // Files of those formats were written before the invoice records existed.
    dropInvoiceRecords(db);
    if (format != OldFormat::NoTotal) detail::dropColumn(db, "Articulos", "Id_Proveedor");
    if (format == OldFormat::NoTotal || format == OldFormat::NoIdProveedorNoTotal)
        detail::dropColumn(db, "Facturas", "Total");
    if (format == OldFormat::IdProveedorMisplaced) {
        db.exec("ALTER TABLE Articulos ADD COLUMN Notas TEXT");
        db.exec("ALTER TABLE Articulos ADD COLUMN Id_Proveedor INTEGER");
    }
}

// Creates a fresh database at path (which must not exist) and reshapes it.
inline void makeDatabaseInFormat(const QString& path, OldFormat format) {
    QString reason;
    ASSERT_TRUE(Database::createFromSchema(path, &reason)) << reason.toStdString();
    Database db;
    ASSERT_TRUE(db.open(path, &reason)) << reason.toStdString();
    reshape(db, format);
}

inline void dropAllViews(Database& db) {
    // ConUnion reads the others, so it goes first.
    QStringList views = db.viewNames();
    std::sort(views.begin(), views.end(), [](const QString& a, const QString& b) {
        return (a == "ConUnion") > (b == "ConUnion");
    });
    for (const QString& v : views) db.exec(QStringLiteral("DROP VIEW \"%1\"").arg(v));
}

// A file of the program folder's kind: text renamed, cut short, old Jet file.
inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

}  // namespace torvane::testing
