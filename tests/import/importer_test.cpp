// The import of an older workshop file, given as rows through the table-reader interface.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QTemporaryDir>
#include <map>

#include "core/money.h"
#include "data/database.h"
#include "import/importer.h"

namespace ti = torvane::import;
using torvane::Database;
using torvane::Money;

namespace {

using Cells = std::map<QString, ti::Value>;

struct OldRow {
    const char* table;
    Cells cells;
};

// A workshop in the older layout: rows in the tables an import treats apart, with the awkward
// values an old file holds, and rows that break the program's rules. Every other table of
// the schema is there, empty.
std::vector<OldRow> oldWorkshop() {
    const QString fr = QStringLiteral("FR08/03/00012");
    const QString odt = QStringLiteral("ODT65/03/00001");
    return {
        {"Clientes",
         {{"Id_Cli", qint64(57)},
          {"Codigo", QString("C0057")},
          {"Fax", QString()},
          {"Email", QString("jose@example.com")}}},
        // A repeated key: left out and listed.
        {"Clientes", {{"Id_Cli", qint64(57)}, {"Codigo", QString("DUPLICADO")}}},
        {"Vehiculos",
         {{"Id_Veh", qint64(9)}, {"Id_Cli", qint64(57)}, {"Matricula", QString("M-1234-AB")}}},
        {"Vehiculos",
         {{"Id_Veh", qint64(10)}, {"Id_Cli", qint64(999)}, {"Matricula", QString("HUERFANO")}}},
        {"ODTS",
         {{"Id_ODT", qint64(100)},
          {"NODT", odt},
          {"Fecha", QDateTime(QDate(1965, 3, 1), QTime(0, 0))},
          {"Recoge", true},
          {"Presupuesto", false},
          {"NAlbaran", QString()},
          {"NFactura", fr}}},
        {"ODTS",
         {{"Id_ODT", qint64(101)}, {"NODT", QString("ODT08/03/00002")}, {"NFactura", QString()}}},
        {"MaterialesODT", {{"NODT", QString("ODT08/09/00077")}}},  // of no work order
        // An old file names the unnamed amount columns of its invoices as it likes.
        {"FacturasODT",
         {{"Id_FAct", qint64(7)},
          {"NFactura", fr},
          {"BaseImp", Money::fromUnits(1000001)},
          {"CuotaIVA", Money::whole(16)},
          {"Importe", Money::fromUnits(1160001)}}},
        {"DatosEmpresa", {{"Nombre", QString("TALLERES PÉREZ")}, {"IVA", 16.0}}},
        // A table this schema does not have: listed in the report, not copied.
        {"Agenda", {{"Texto", QString("LLAMAR")}}},
    };
}

// The old layout of each table: the new one's columns, with the old names where they
// differ, plus whatever the rows carry beyond them.
ti::MemoryTables oldTables(const std::vector<OldRow>& rows, const QString& schemaFile) {
    Database schema;
    EXPECT_TRUE(schema.open(schemaFile));
    const std::map<QString, std::map<QString, QString>> oldNames = {
        {"FacturasODT", {{"Base", "BaseImp"}, {"IVA", "CuotaIVA"}}},
    };
    std::map<QString, QStringList> columns;
    for (const auto& t : schema.rows("SELECT name FROM sqlite_master WHERE type = 'table'")) {
        const QString table = t["name"].toString();
        if (table.startsWith("sqlite_") || ti::notInOlderFiles(table)) continue;
        QStringList& cols = columns[table] = schema.columnNames(table);
        const auto renamed = oldNames.find(table);
        if (renamed != oldNames.end())
            for (const auto& [now, before] : renamed->second)
                cols.replace(cols.indexOf(now), before);
    }
    for (const auto& r : rows)
        for (const auto& [name, v] : r.cells)
            if (!columns[QString::fromUtf8(r.table)].contains(name))
                columns[QString::fromUtf8(r.table)] << name;
    ti::MemoryTables tables;
    for (const auto& [name, cols] : columns) tables.add(name, cols);
    for (const auto& r : rows) {
        const QStringList& cols = columns[QString::fromUtf8(r.table)];
        std::vector<ti::Value> values(static_cast<std::size_t>(cols.size()));
        for (const auto& [name, v] : r.cells)
            values[static_cast<std::size_t>(cols.indexOf(name))] = v;
        tables.addRow(QString::fromUtf8(r.table), values);
    }
    return tables;
}

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

TEST_F(ImportMappingTest, TheOldWorkshopArrivesWholeAndWhatIsOddIsReported) {
    const auto rows = oldWorkshop();
    ti::MemoryTables tables = oldTables(rows, schemaFile_);
    const ti::ImportReport report = runImport(tables);
    Database db;
    ASSERT_TRUE(db.open(target_));

    SCOPED_TRACE("every table of the schema, with its rows");
    std::map<QString, qint64> given;
    for (const auto& r : rows) ++given[QString::fromUtf8(r.table)];
    --given["Clientes"];  // the repeated key
    for (const auto& t : report.tables) {
        SCOPED_TRACE(t.name.toStdString());
        EXPECT_EQ(report.rows(t.name), given[t.name]);
        EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(t.name)).toLongLong(),
                  given[t.name]);
        given.erase(t.name);
    }
    EXPECT_EQ(given.size(), 1u);  // only the unknown table
    EXPECT_TRUE(report.absentTables.isEmpty());
    EXPECT_EQ(report.unknownTables, QStringList{"Agenda (1 filas)"});
    EXPECT_EQ(report.unknownColumns, QStringList{"Clientes.Email"});
    EXPECT_TRUE(report.notes.contains(
        "FacturasODT: la columna BaseImp se ha copiado en Base por su posición."));
    EXPECT_TRUE(report.notes.contains("ODTS: 2 valores vacíos de NAlbaran puestos a \"No\"."));

    SCOPED_TRACE("keys kept (the values below are found by them); new rows continue after them");
    EXPECT_EQ(db.insert("INSERT INTO Clientes (Codigo) VALUES ('NUEVO')"), 58);
    // Invoice records start as in a new file: switched off, none written for old invoices.
    EXPECT_EQ(db.scalar("SELECT Activo FROM ConfigFacturacion WHERE Id = 1").toInt(), 0);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM RegistrosFacturacion").toInt(), 0);

    SCOPED_TRACE("awkward values arrive as the program stores them");
    const std::pair<const char*, QVariant> values[] = {
        // A date before 1970, as an ISO date.
        {"SELECT Fecha FROM ODTS WHERE Id_ODT = 100", "1965-03-01"},
        // An empty text stays empty; a missing one stays null.
        {"SELECT Fax IS NOT NULL AND Fax = '' FROM Clientes", 1},
        {"SELECT Movil IS NULL FROM Clientes", 1},
        // "No" where a document does not exist yet, never an empty text or null.
        {"SELECT NAlbaran FROM ODTS WHERE Id_ODT = 100", "No"},
        // Yes/no as 1 and 0.
        {"SELECT Recoge FROM ODTS WHERE Id_ODT = 100", 1},
        {"SELECT Presupuesto FROM ODTS WHERE Id_ODT = 100", 0},
    };
    for (const auto& [sql, expected] : values)
        EXPECT_EQ(db.scalar(QString::fromUtf8(sql)).toString(), expected.toString()) << sql;
    // Four decimals survive exactly, in a column the old file names its own way.
    EXPECT_EQ(Money::fromDb(db.scalar("SELECT Base FROM FacturasODT")), Money::fromUnits(1000001));

    SCOPED_TRACE("broken rules and repeated keys are reported, not refused");
    EXPECT_TRUE(report.problems.contains("linea sin ODT: ODT08/09/00077"))
        << report.summary().toStdString();
    EXPECT_TRUE(report.problems.contains("vehiculo sin cliente: HUERFANO"));
    EXPECT_TRUE(
        report.summary().contains("Comprobación: los datos importados no cumplen estas reglas (se "
                                  "han importado igualmente):"));
    ASSERT_EQ(report.skippedRows.size(), 1);
    EXPECT_TRUE(report.skippedRows[0].startsWith("Clientes, fila 2: "));
    EXPECT_TRUE(report.summary().contains("  Clientes: 1 (1 filas no copiadas)"));
}

}  // namespace
