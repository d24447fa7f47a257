#include <gtest/gtest.h>

#include "core/database_setup.h"
#include "support/file_bytes.h"
#include "support/legacy_databases.h"
#include "support/temp_home.h"

using namespace torvane;
using torvane::testing::fileBytes;
using torvane::testing::OldFormat;
using torvane::testing::TempHome;
namespace tt = torvane::testing;

namespace {

TEST(Ruta, QuotedPathCrLfWindows1252) {
    TempHome home(false);
    auto& s = home.session();
    EXPECT_FALSE(rutaExists(s));
    EXPECT_FALSE(readRuta(s).has_value());

    const QString path = QString::fromUtf8("C:\\Talleres\\Año 2008, Peña\\taller.erm");
    ASSERT_TRUE(writeRuta(s, path));
    EXPECT_EQ(fileBytes(home.file("ruta.fpl")), QByteArray("\"C:\\Talleres\\A\xF1o 2008, Pe\xF1"
                                                           "a\\taller.erm\"\r\n"));
    // Reading it back is the start-up's test.

    // Paths the file cannot hold are refused and leave it alone.
    const QByteArray before = fileBytes(home.file("ruta.fpl"));
    const struct {
        QString path;
        const char* reason;
    } cases[] = {
        {"/datos/el \"bueno\".erm", "la ruta contiene comillas dobles y no se puede guardar."},
        {QString::fromUtf8("/datos/Ђ.erm"),
         "la ruta contiene caracteres que no se pueden guardar."},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(writeRuta(s, c.path, &error));
        EXPECT_EQ(error, QString::fromUtf8(c.reason));
        EXPECT_EQ(fileBytes(home.file("ruta.fpl")), before);
    }

    EXPECT_TRUE(removeRuta(s));
    EXPECT_FALSE(rutaExists(s));
    EXPECT_TRUE(removeRuta(s));
}

// The positional check of each format, and the columns its upgrade adds.
TEST(Upgrade, AddsOnlyTheFailedColumnsInOrderOrChangesNothing) {
    TempHome home(false);
    struct Case {
        OldFormat format;
        QStringList statements;
    };
    const Case cases[] = {
        {OldFormat::Current, {}},
        {OldFormat::NoTotal, {"ALTER TABLE Facturas ADD Total double"}},
        {OldFormat::NoIdProveedorNoTotal,
         {"ALTER TABLE Articulos ADD Id_Proveedor integer",
          "ALTER TABLE Facturas ADD Total double"}},
    };
    int n = 0;
    for (const auto& c : cases) {
        const QString path = home.file(QStringLiteral("u%1.erm").arg(n++));
        tt::makeDatabaseInFormat(path, c.format);
        const FormatCheck check = checkFormat(path);
        EXPECT_EQ(upgradeStatements(check), c.statements);
        EXPECT_EQ(check.current(), c.statements.isEmpty());
        EXPECT_EQ(ComprobarDB(path, "Articulos", "Id_Proveedor"), check.articulosOk) << n;
        EXPECT_EQ(ComprobarDB(path, "Facturas", "Total"), check.facturasOk) << n;
        Database db;
        ASSERT_TRUE(db.open(path));
        QString error;
        EXPECT_TRUE(upgradeFormat(db, check, &error)) << error.toStdString();
        db.close();
        EXPECT_TRUE(checkFormat(path).current()) << n;
    }

    // A misplaced column fails the upgrade, which changes nothing.
    const QString path = home.file("mal.erm");
    tt::makeDatabaseInFormat(path, OldFormat::IdProveedorMisplaced);
    Database db;
    ASSERT_TRUE(db.open(path));
    tt::reshape(db, OldFormat::NoTotal);
    const FormatCheck check = checkFormat(path);
    ASSERT_FALSE(check.articulosOk);
    ASSERT_FALSE(check.facturasOk);
    QString error;
    EXPECT_FALSE(upgradeFormat(db, check, &error));
    EXPECT_EQ(error, "duplicate column name: Id_Proveedor");
    // The statement that would have worked is not kept either.
    EXPECT_FALSE(db.columnNames("Facturas").contains("Total"));
}

QString schemaViewSql(const QString& name) {
    const QString schema = Database::schemaSql();
    const QString head = QStringLiteral("CREATE VIEW %1 AS ").arg(name);
    const qsizetype at = schema.indexOf(head);
    if (at < 0) return {};
    const qsizetype end = schema.indexOf(QStringLiteral(";"), at);
    return schema.mid(at + head.size(), end - at - head.size());
}

TEST(SavedQueries, SameTextsAsTheSchema) {
    ASSERT_FALSE(savedQueries().empty());
    for (const auto& q : savedQueries())
        EXPECT_EQ(q.sql, schemaViewSql(q.name)) << q.name.toStdString();
}

}  // namespace
