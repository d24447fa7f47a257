#include <gtest/gtest.h>
#include <QFile>

#include "data/database.h"
#include "support/temp_home.h"

using torvane::Database;
using torvane::DbError;
using torvane::testing::TempHome;

namespace {

// The saved queries' names and texts are the database set-up's test.
TEST(Schema, TemplateHoldsTheSchemaTextComparesWithoutCaseAndUnionsDuplicates) {
    TempHome home;
    auto& db = home.db();
    Database tpl;
    QString reason;
    ASSERT_TRUE(tpl.open(TempHome::builtTemplate(), &reason)) << reason.toStdString();
    auto objects = [](Database& db) {
        QStringList out;
        for (const auto& r : db.rows("SELECT type, name, sql FROM sqlite_master WHERE name NOT "
                                     "LIKE 'sqlite_%' ORDER BY type, name"))
            out << r.value("type").toString() + "|" + r.value("name").toString() + "|" +
                       r.value("sql").toString();
        return out;
    };
    EXPECT_EQ(objects(tpl), objects(db));
    EXPECT_EQ(tpl.userVersion(), Database::kSchemaVersion);
    EXPECT_EQ(tpl.scalar("SELECT count(*) FROM Clientes").toInt(), 0);

    db.exec("INSERT INTO Clientes (Codigo, Nombre) VALUES ('0001', 'Garcia')");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Clientes WHERE Nombre = 'GARCIA'").toInt(), 1);

    // Two free invoices of the same customer, date and amount count once.
    for (const char* number : {"FL/00001", "FL/00002"})
        db.exec("INSERT INTO FacturasLibres (Fecha, NFactura, Id_Cli, Total) VALUES (?,?,?,?)",
                {"2008-03-05", number, 7, 116.0});
    db.exec("INSERT INTO FacturasCoches (NFactura, Fecha, Id_Cli, Total) VALUES (?,?,?,?)",
            {"V1", "2008-03-06", 7, 5000.0});
    EXPECT_EQ(db.scalar("SELECT count(*) FROM ConUnion").toInt(), 2);
}

// A transaction rolling back on an error is the receipts' and commissions' test.
TEST(DatabaseStatements, BoundParametersAndEngineTroubleInSpanish) {
    TempHome home;
    auto& db = home.db();
    db.exec("INSERT INTO Clientes (Codigo, Nombre) VALUES (?, ?)", {"0001", "O'DONNELL"});
    db.exec("INSERT INTO Clientes (Codigo, Nombre) VALUES (?, ?)", {"0002", "ODIN"});
    // The user's own % stays a wildcard (a quote in a bound text is the masters' searches'
    // test).
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Clientes WHERE Nombre LIKE ?", {"O%N%"}).toInt(), 2);
    EXPECT_THROW(db.exec("SELECT * FROM NoExiste"), DbError);

    // Engine trouble reaches the user in Spanish with the file name.
    Database other;
    ASSERT_TRUE(other.open(db.path()));
    other.exec("BEGIN EXCLUSIVE");
    db.setBusyTimeout(20);
    try {
        db.exec("INSERT INTO Familias (Familia) VALUES ('D')");
        ADD_FAILURE() << "the insert went through a lock";
    } catch (const DbError& e) {
        EXPECT_EQ(e.message(), QString::fromUtf8("El archivo taller.erm está bloqueado por otro "
                                                 "programa."));
    }
    // Opening meanwhile waits for the busy timeout, then says so; a missing file is not
    // created. The other unusable files are opened in the start-up tests.
    Database third;
    QString reason;
    EXPECT_FALSE(third.open(db.path(), &reason));
    EXPECT_EQ(reason, QString::fromUtf8("el archivo está bloqueado por otro programa."));
    EXPECT_FALSE(third.open(home.file("no-existe.erm"), &reason));
    EXPECT_EQ(reason, QString("el archivo no existe."));
    EXPECT_FALSE(third.isOpen());
    EXPECT_FALSE(QFile::exists(home.file("no-existe.erm")));
    other.exec("ROLLBACK");
    db.exec("INSERT INTO Familias (Familia) VALUES ('C')");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Familias").toInt(), 1);
}

TEST(DatabaseMaintenance, MigrationAddsAccountingCodeAndKeepsTheCommissionRateAtTheEnd) {
    TempHome home;
    auto& db = home.db();
    // An earlier build's file: no accounting code, no commission rate, version 0.
    db.exec("ALTER TABLE Clientes RENAME TO ClientesNuevos");
    db.exec("CREATE TABLE Clientes (Id_Cli INTEGER PRIMARY KEY AUTOINCREMENT, Codigo TEXT)");
    db.exec("DROP TABLE Comisiones");
    db.exec(
        "CREATE TABLE Comisiones (Id INTEGER PRIMARY KEY AUTOINCREMENT, NFactura TEXT, Fecha "
        "TEXT, Id_Cli INTEGER, Suma REAL, Iva REAL, Retencion REAL, Resto REAL)");
    db.exec("INSERT INTO Comisiones (NFactura, Suma) VALUES ('FC08/03/0001', 100)");
    db.exec("DROP INDEX ix_Entradas_NAlbaran");  // the purchase list's, added later
    db.exec("PRAGMA user_version=0");
    db.applyMigrations();
    EXPECT_EQ(db.columnNames("Clientes"), (QStringList{"Id_Cli", "Codigo", "CodigoContable"}));
    EXPECT_EQ(db.columnNames("Comisiones").last(), QString("TipoRetencion"));
    EXPECT_EQ(db.scalar("SELECT Suma FROM Comisiones").toDouble(), 100.0);
    EXPECT_TRUE(db.scalar("SELECT TipoRetencion FROM Comisiones").isNull());
    EXPECT_EQ(db.userVersion(), Database::kSchemaVersion);
    EXPECT_EQ(
        db.scalar("SELECT count(*) FROM sqlite_master WHERE name = 'ix_Entradas_NAlbaran'").toInt(),
        1);
    db.applyMigrations();  // a second run changes nothing
    EXPECT_EQ(db.columnNames("Clientes").size(), 3);
}

TEST(DatabaseMaintenance, MigrationMakesTowQuantitiesNumbersKeepingEverythingElse) {
    TempHome home;
    auto& db = home.db();
    // An earlier build's table: quantity stored as text, version 2, no application id.
    db.exec("DROP TABLE LineasPartes");
    db.exec(
        "CREATE TABLE \"LineasPartes\" (\"Id\" INTEGER PRIMARY KEY AUTOINCREMENT, "
        "\"NParte\" TEXT COLLATE NOCASE, \"Texto\" TEXT COLLATE NOCASE, \"Cantidad\" TEXT "
        "COLLATE NOCASE, \"Precio\" REAL, \"Importe\" REAL)");
    db.exec("CREATE INDEX \"ix_LineasPartes_NParte\" ON \"LineasPartes\" (\"NParte\")");
    struct Case {
        QVariant written;
        QVariant stored;
    };
    const Case cases[] = {
        {" 3.5 ", 3.5}, {"1,5", 1.5}, {"-4", -4.0},
        {"dos", "dos"}, {"", ""},     {QVariant(), QVariant()},
    };
    for (const auto& c : cases)
        db.exec(
            "INSERT INTO LineasPartes (NParte, Texto, Cantidad, Precio, Importe) VALUES "
            "('PG1', 'Km', ?, 1.25, 2.5)",
            {c.written});
    db.exec("INSERT INTO LineasPartes (NParte, Cantidad) VALUES ('PG1', 'borrada')");
    db.exec("DELETE FROM LineasPartes WHERE Cantidad = 'borrada'");
    db.exec("PRAGMA user_version=2");
    db.exec("PRAGMA application_id=0");

    db.applyMigrations();

    EXPECT_EQ(db.userVersion(), Database::kSchemaVersion);
    EXPECT_EQ(db.scalar("PRAGMA application_id").toInt(), Database::kApplicationId);
    EXPECT_EQ(db.columnNames("LineasPartes"),
              (QStringList{"Id", "NParte", "Texto", "Cantidad", "Precio", "Importe"}));
    const auto rows = db.rows(
        "SELECT Id, Cantidad, NParte, Texto, Precio, Importe FROM "
        "LineasPartes ORDER BY Id");
    ASSERT_EQ(rows.size(), std::size(cases));
    for (size_t i = 0; i < rows.size(); ++i) {
        const QVariant stored = rows[i].value("Cantidad");
        EXPECT_EQ(stored.isNull() ? QVariant() : stored, cases[i].stored) << i;
    }
    EXPECT_EQ(rows.back().value("Importe").toDouble(), 2.5);
    // Keys are still never reused, and the search index is back.
    EXPECT_EQ(db.insert("INSERT INTO LineasPartes (NParte, Cantidad) VALUES ('PG2', 1)"),
              qint64(std::size(cases)) + 2);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM sqlite_master WHERE name = "
                        "'ix_LineasPartes_NParte'")
                  .toInt(),
              1);
    EXPECT_EQ(db.scalar("PRAGMA integrity_check").toString(), QString("ok"));
}

}  // namespace
