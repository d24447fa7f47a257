#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "data/database.h"
#include "import/importer.h"
#include "import/old_workshop.h"

namespace ti = torvane::import;
using torvane::Database;
using torvane::Money;

namespace {

using torvane::testing::day;
using torvane::testing::OldRow;
using torvane::testing::oldTables;
using torvane::testing::oldWorkshop;

class ImportMappingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        schemaFile_ = dir_.filePath("esquema.erm");
        ASSERT_TRUE(Database::createFromSchema(schemaFile_));
        target_ = dir_.filePath("nueva.erm");
    }
    ti::ImportReport runImport(ti::MemoryTables& tables) {
        return ti::importTables(tables, dir_.filePath("antigua.erm"), target_);
    }
    QTemporaryDir dir_;
    QString schemaFile_, target_;
};

TEST_F(ImportMappingTest, EveryTableOfTheSchemaIsCopiedWithItsKeys) {
    const auto rows = oldWorkshop();
    ti::MemoryTables tables = oldTables(rows, schemaFile_);
    const ti::ImportReport report = runImport(tables);

    Database db;
    ASSERT_TRUE(db.open(target_));
    std::map<QString, qint64> given;
    for (const auto& r : rows) ++given[QString::fromUtf8(r.table)];
    QStringList schemaTables;
    for (const auto& t : report.tables) schemaTables << t.name;
    for (const QString& table : schemaTables) {
        SCOPED_TRACE(table.toStdString());
        ASSERT_TRUE(given.count(table)) << "the old workshop lacks a row of this table";
        EXPECT_EQ(report.rows(table), given[table]);
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toLongLong(),
                  given[table]);
    }
    EXPECT_EQ(report.tables.size(), given.size() - 1);  // all but the unknown one
    EXPECT_TRUE(report.absentTables.isEmpty());
    EXPECT_EQ(report.unknownTables, QStringList{"Agenda (1 filas)"});
    EXPECT_EQ(report.unknownColumns, QStringList{"Clientes.Email"});
    EXPECT_TRUE(report.notes.contains(
        "FacturasODT: la columna BaseImp se ha copiado en Base por su posición."));
    EXPECT_TRUE(report.notes.contains(
        "Cobros: la columna Caja se ha copiado en Reservado1 por su posición."));

    // Keys kept, so the links hold; new rows continue after the old keys.
    EXPECT_EQ(db.scalar("SELECT Id_Cli FROM Vehiculos WHERE Matricula = 'M-1234-AB'").toInt(), 57);
    EXPECT_EQ(db.scalar("SELECT Id_Coche FROM ODTS WHERE Id_ODT = 100").toInt(), 9);
    EXPECT_EQ(db.insert("INSERT INTO Clientes (Codigo) VALUES ('NUEVO')"), 58);
    // Invoice records start as in a new file: switched off, none written for old invoices.
    EXPECT_EQ(db.scalar("SELECT Activo FROM ConfigFacturacion WHERE Id = 1").toInt(), 0);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM RegistrosFacturacion").toInt(), 0);
}

TEST_F(ImportMappingTest, AwkwardValuesArriveAsTheProgramStoresThem) {
    ti::MemoryTables tables = oldTables(oldWorkshop(), schemaFile_);
    const ti::ImportReport report = runImport(tables);
    Database db;
    ASSERT_TRUE(db.open(target_));
    struct Case {
        const char* sql;
        QVariant expected;
    };
    const Case cases[] = {
        // Dates before 1970, and a leap day, as ISO dates.
        {"SELECT Fecha FROM ODTS WHERE Id_ODT = 100", "1965-03-01"},
        {"SELECT FechaITV FROM Vehiculos", "1968-02-29"},
        // An empty text stays empty; a missing one stays null.
        {"SELECT Fax IS NOT NULL AND Fax = '' FROM Clientes", 1},
        {"SELECT Movil IS NULL FROM Clientes", 1},
        // "No" where a document does not exist yet, never an empty text or null.
        {"SELECT NAlbaran FROM ODTS WHERE Id_ODT = 100", "No"},
        {"SELECT NPresupuesto FROM ODTS WHERE Id_ODT = 100", "No"},
        {"SELECT NFactura FROM ODTS WHERE Id_ODT = 100", "FR08/03/00012"},
        {"SELECT NFactura FROM ODTS WHERE Id_ODT = 101", "No"},
        {"SELECT NAlbaran FROM ODTS WHERE Id_ODT = 101", "No"},
        {"SELECT Interna FROM ODTS WHERE Id_ODT = 101", "No"},
        {"SELECT NFactura FROM Albaranes", "No"},
        {"SELECT NFactura FROM Partes", "No"},
        // Yes/no as 1 and 0.
        {"SELECT Recoge FROM ODTS WHERE Id_ODT = 100", 1},
        {"SELECT Presupuesto FROM ODTS WHERE Id_ODT = 100", 0},
        // Accents.
        {"SELECT Apellido1 FROM Clientes", "MUÑOZ"},
        {"SELECT Concepto FROM SalidasLibres", "REVISIÓN"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(db.scalar(QString::fromUtf8(c.sql)).toString(), c.expected.toString());
    }
    // Four decimals survive exactly.
    const struct {
        const char* sql;
        Money expected;
    } amounts[] = {
        {"SELECT Importe FROM FacturasODT", Money::fromUnits(1160001)},
        {"SELECT Base FROM FacturasODT", Money::whole(100)},
        {"SELECT PrecioVenta FROM Articulos", Money::fromUnits(123456)},
        {"SELECT Cantidad FROM Cobros", Money::fromUnits(10001)},
        {"SELECT Importe FROM LineasPartes", Money::fromUnits(12345)},
        {"SELECT Precio FROM PreciosHora", Money::fromUnits(325000)},
        {"SELECT KLTL FROM Tarifas", Money::fromUnits(6000)},
    };
    for (const auto& a : amounts) {
        SCOPED_TRACE(a.sql);
        EXPECT_EQ(Money::fromDb(db.scalar(QString::fromUtf8(a.sql))), a.expected);
    }
    EXPECT_TRUE(report.notes.contains("ODTS: 2 valores vacíos de NAlbaran puestos a \"No\"."));
}

// Old data that break the program's rules are imported all the same, and the report says so.
TEST_F(ImportMappingTest, BrokenRulesAreReportedNotRefused) {
    auto rows = oldWorkshop();
    rows.push_back({"MaterialesODT", {{"NODT", QStringLiteral("ODT08/09/00077")}}});
    rows.push_back({"Vehiculos",
                    {{"Id_Veh", qint64(10)},
                     {"Id_Cli", qint64(999)},
                     {"Matricula", QStringLiteral("HUERFANO")}}});
    ti::MemoryTables tables = oldTables(rows, schemaFile_);
    const ti::ImportReport report = runImport(tables);
    EXPECT_EQ(report.rows("Vehiculos"), 2);
    EXPECT_TRUE(report.problems.contains("linea sin ODT: ODT08/09/00077"))
        << report.summary().toStdString();
    EXPECT_TRUE(report.problems.contains("vehiculo sin cliente: HUERFANO"));
    EXPECT_TRUE(
        report.summary().contains("Comprobación: los datos importados no cumplen estas reglas (se "
                                  "han importado igualmente):"));
}

// A repeated key cannot be stored twice: the row is left out and listed, the rest goes in.
TEST_F(ImportMappingTest, RepeatedKeysAreListed) {
    auto rows = oldWorkshop();
    rows.push_back({"Clientes", {{"Id_Cli", qint64(57)}, {"Codigo", QStringLiteral("DUPLICADO")}}});
    ti::MemoryTables tables = oldTables(rows, schemaFile_);
    const ti::ImportReport report = runImport(tables);
    EXPECT_EQ(report.rows("Clientes"), 1);
    ASSERT_EQ(report.skippedRows.size(), 1);
    EXPECT_TRUE(report.skippedRows[0].startsWith("Clientes, fila 2: "));
    EXPECT_TRUE(report.summary().contains("  Clientes: 1 (1 filas no copiadas)"));
}

TEST_F(ImportMappingTest, TablesTheOldFileLacksStayEmptyAndAreNamed) {
    ti::MemoryTables tables;
    tables.add("Clientes", {"Id_Cli", "Nombre"});
    tables.addRow("Clientes", {qint64(1), QStringLiteral("ANA")});
    const ti::ImportReport report = runImport(tables);
    EXPECT_EQ(report.rows("Clientes"), 1);
    EXPECT_TRUE(report.absentTables.contains("ODTS"));
    EXPECT_FALSE(report.absentTables.contains("Clientes"));
    EXPECT_FALSE(report.absentTables.contains("ContadoresODT"));
    EXPECT_TRUE(QFile::exists(target_));
    EXPECT_FALSE(QFile::exists(target_ + ".importando"));
}

}  // namespace
