#include "verifactu/records.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "billing/commissions.h"
#include "data/database.h"
#include "sales/counter_sale.h"
#include "support/legacy_databases.h"
#include "support/temp_home.h"
#include "verifactu/fingerprint.h"
#include "verifactu/send_client.h"

using namespace torvane;
using namespace torvane::testing;
namespace vf = torvane::verifactu;

namespace {

class VerifactuRecords : public ::testing::Test {
  protected:
    void SetUp() override {
        db().exec("INSERT INTO DatosEmpresa (Nombre, Nif) VALUES ('TALLER', 'B12345678')");
    }
    Database& db() { return home_.db(); }
    void switchOn() {
        vf::Settings s = vf::loadSettings(db());
        s.enabled = true;
        vf::saveSettings(db(), s);
    }
    int count() { return db().scalar("SELECT count(*) FROM RegistrosFacturacion").toInt(); }

    TempHome home_;
};

// Each kind of invoice: the statements that issue and remove it, and the amounts recorded.
struct InvoiceTable {
    const char* table;
    const char* number;
    const char* cuota;
    const char* importe;
    const char* remove;
    const char* issue;  // statements separated by ";"
};

const InvoiceTable kTables[] = {
    {"FacturasODT", "FR26/12/00001", "16.00", "116.00",
     "DELETE FROM FacturasODT WHERE NFactura = 'FR26/12/00001'",
     "INSERT INTO FacturasODT (NFactura, Fecha, Base, IVA, Importe, Pagado) VALUES "
     "('FR26/12/00001', '2026-12-06', 100, 16, 116, 0)"},
    {"FacturasLibres", "FL26/12/00007", "16.00", "110.20",
     "DELETE FROM FacturasLibres WHERE NFactura = 'FL26/12/00007'",
     "INSERT INTO FacturasLibres (Fecha, NFactura, Id_Cli, Suma, Iva, Total, Descuento, Dto, "
     "TipoIva) VALUES ('2026-12-06', 'FL26/12/00007', 1, 100, 16, 110.2, 5.8, 5, 16)"},
    {"Comisiones", "FC26/12/0003", "24.00", "174.00",
     "DELETE FROM Comisiones WHERE NFactura = 'FC26/12/0003'",
     "INSERT INTO Comisiones (NFactura, Fecha, Id_Cli, Suma, Iva, Retencion, Resto) VALUES "
     "('FC26/12/0003', '2026-12-06', 1, 150, 24, 22.5, 151.5)"},
    {"Facturas (parts sale)", "FV26/12/00002", "8.00", "58.00",
     "DELETE FROM Facturas WHERE Id_Fac = 'FV26/12/00002'",
     "INSERT INTO Facturas (Id_Fac, Fecha, Id_Cli, Pagado, Total) VALUES "
     "('FV26/12/00002', '2026-12-06', 1, 0, 58)"},
    {"Facturas (tow report at its own rate)", "FV26/12/00003", "21.00", "121.00",
     "DELETE FROM Facturas WHERE Id_Fac = 'FV26/12/00003'",
     "INSERT INTO Partes (NParte, Fecha, NFactura, IVA) VALUES "
     "('PG26/12/00001', '2026-12-06', 'FV26/12/00003', 21);"
     "INSERT INTO Facturas (Id_Fac, Fecha, Id_Cli, Pagado, Total) VALUES "
     "('FV26/12/00003', '2026-12-06', 0, 0, 121)"},
};

void issue(Database& db, const InvoiceTable& t) {
    for (const QString& sql : QString::fromUtf8(t.issue).split(';')) db.exec(sql);
}

}  // namespace

TEST_F(VerifactuRecords, OffByDefaultWritesNothing) {
    EXPECT_FALSE(vf::loadSettings(db()).enabled);
    EXPECT_EQ(vf::vatRate(db()), Quantity::whole(16));
    for (const InvoiceTable& t : kTables) {
        issue(db(), t);
        db().exec(t.remove);
    }
    EXPECT_EQ(count(), 0);
}

TEST_F(VerifactuRecords, EveryInvoiceTableWritesOneAltaAndOneAnulacion) {
    switchOn();
    int expected = 0;
    for (const InvoiceTable& t : kTables) {
        issue(db(), t);
        ASSERT_EQ(count(), ++expected) << t.table;
        const auto alta = vf::altaOf(db(), QString::fromUtf8(t.number));
        ASSERT_TRUE(alta.has_value()) << t.table;
        EXPECT_EQ(alta->emisor, "B12345678");
        EXPECT_EQ(alta->fecha, "06-12-2026") << t.table;
        EXPECT_EQ(alta->tipoFactura, "F1");
        EXPECT_EQ(alta->cuotaTotal, t.cuota) << t.table;
        EXPECT_EQ(alta->importeTotal, t.importe) << t.table;
        EXPECT_TRUE(
            QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d$")
                .match(alta->fechaHoraHuso)
                .hasMatch())
            << alta->fechaHoraHuso.toStdString();
        db().exec(t.remove);
        ASSERT_EQ(count(), ++expected) << t.table;
        EXPECT_FALSE(vf::altaOf(db(), QString::fromUtf8(t.number)).has_value()) << t.table;
        // Removing it again (nothing left to remove) writes nothing more.
        db().exec(t.remove);
        EXPECT_EQ(count(), expected) << t.table;
    }
    const auto records = vf::allRecords(db());
    EXPECT_EQ(records.back().tipo, "anulacion");
    EXPECT_EQ(records.back().numSerie, "FV26/12/00003");
    EXPECT_EQ(records.front().huellaAnterior, "");
    // What the database chained, the program's own computation confirms link by link.
    const auto broken = vf::checkChain(records);
    EXPECT_FALSE(broken.has_value()) << broken->reason.toStdString();
}

TEST_F(VerifactuRecords, RecordsCannotBeChangedOrDeleted) {
    switchOn();
    issue(db(), kTables[0]);
    try {
        db().exec("UPDATE RegistrosFacturacion SET ImporteTotal = '1.00'");
        FAIL() << "update accepted";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains("Los registros de facturación no se pueden modificar."))
            << e.message().toStdString();
    }
    EXPECT_THROW(db().exec("DELETE FROM RegistrosFacturacion"), DbError);
    EXPECT_EQ(vf::altaOf(db(), "FR26/12/00001")->importeTotal, "116.00");
}

TEST_F(VerifactuRecords, NoRecordWithoutItsInvoiceNorInvoiceWithoutItsRecord) {
    switchOn();
    {
        Database::Transaction tx(db());
        issue(db(), kTables[0]);
        EXPECT_EQ(count(), 1);
    }  // rolled back: the invoice and its record go together
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(db().scalar("SELECT count(*) FROM FacturasODT").toInt(), 0);
    // A connection that cannot fingerprint cannot issue an invoice either.
    db().exec("DROP TRIGGER NuevoRegistroFacturacion_Encadena");
    db().exec(
        "CREATE TRIGGER NuevoRegistroFacturacion_Encadena AFTER INSERT ON "
        "NuevoRegistroFacturacion BEGIN SELECT no_such_function(1); END");
    EXPECT_THROW(issue(db(), kTables[0]), DbError);
    EXPECT_EQ(db().scalar("SELECT count(*) FROM FacturasODT").toInt(), 0);
}

TEST_F(VerifactuRecords, CheckFindsAChangeMadeOutsideTheProgram) {
    switchOn();
    for (const InvoiceTable& t : kTables) issue(db(), t);
    ASSERT_FALSE(vf::checkChain(vf::allRecords(db())).has_value());
    // Someone with the engine's own tool drops the guard and edits an amount.
    db().exec("DROP TRIGGER RegistrosFacturacion_NoCambia");
    db().exec("UPDATE RegistrosFacturacion SET ImporteTotal = '11.00' WHERE NumSerie = ?",
              {"FC26/12/0003"});
    const auto broken = vf::checkChain(vf::allRecords(db()));
    ASSERT_TRUE(broken.has_value());
    EXPECT_EQ(broken->position, 3);
    EXPECT_TRUE(broken->reason.contains("FC26/12/0003"));
}

TEST_F(VerifactuRecords, ProgramPathsWriteTheirRecordInTheirTransaction) {
    switchOn();
    const qint64 customer =
        db().insert("INSERT INTO Clientes (Codigo, Nombre) VALUES ('0001', 'GARCIA')");
    DocumentLine line;
    line.description = QStringLiteral("COMISION");
    line.units = Quantity::whole(1);
    line.price = Money::fromDouble(100);
    const QString fc = commissions::store(
        db(), {QStringLiteral("FC26/12/0001"), QDate(2026, 12, 6), customer, Quantity()}, {line});
    sales::addInvoice(db(), QStringLiteral("FV26/12/00001"), customer, QDate(2026, 12, 6),
                      Money::fromDouble(116), true, QDate(2026, 12, 6));
    const auto records = vf::allRecords(db());
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].numSerie, fc);
    EXPECT_EQ(records[0].importeTotal, "116.00");
    EXPECT_EQ(records[1].numSerie, "FV26/12/00001");
    EXPECT_EQ(records[1].cuotaTotal, "16.00");
    commissions::remove(db(), fc);
    EXPECT_EQ(vf::allRecords(db()).back().tipo, "anulacion");
    EXPECT_FALSE(vf::checkChain(vf::allRecords(db())).has_value());
}

TEST_F(VerifactuRecords, SettingsRefuseABadRate) {
    vf::Settings s = vf::loadSettings(db());
    s.vatRate = Quantity::whole(101);
    EXPECT_THROW(vf::saveSettings(db(), s), std::invalid_argument);
    s.vatRate = Quantity::whole(21);
    vf::saveSettings(db(), s);
    EXPECT_EQ(vf::vatRate(db()), Quantity::whole(21));
}

// What is left to send follows the answers stored, in a new file and in one migrated from
// before the pending records were listed apart.
TEST_F(VerifactuRecords, PendingRecordsAreThoseWithoutAVerdict) {
    switchOn();
    for (int i = 1; i <= 5; ++i)
        db().insert("INSERT INTO FacturasLibres (Fecha, NFactura, Total) VALUES (?, ?, 1)",
                    {"2026-12-06", QString("FL/%1").arg(i)});
    // Record 1 accepted, 2 accepted with errors after a lost answer, 3 rejected, 4 only ever
    // unanswered, 5 never sent.
    const std::pair<int, const char*> answers[] = {{1, "Correcto"},
                                                   {2, "SinRespuesta"},
                                                   {2, "AceptadoConErrores"},
                                                   {3, "Incorrecto"},
                                                   {4, "SinRespuesta"}};
    for (const auto& [id, estado] : answers)
        db().insert("INSERT INTO EnviosFacturacion (IdRegistro, Fecha, Estado) VALUES (?, ?, ?)",
                    {id, "2026-12-06T10:00:00", estado});
    const auto pending = [this] {
        QStringList ids;
        for (const vf::Record& r : vf::pendingRecords(db())) ids << QString::number(r.id);
        return QString("%1: %2").arg(vf::pendingCount(db())).arg(ids.join(' '));
    };
    EXPECT_EQ(pending(), "2: 4 5");

    // A file of the previous version: no list; the migration fills it from the answers.
    db().exec("DROP TABLE RegistrosPendientes");
    db().exec("DROP TRIGGER RegistrosPendientes_Nuevo");
    db().exec("DROP TRIGGER RegistrosPendientes_Respondido");
    db().exec("PRAGMA user_version=7");
    EXPECT_EQ(pending(), "0: ");
    db().applyMigrations();
    EXPECT_EQ(db().userVersion(), Database::kSchemaVersion);
    EXPECT_EQ(pending(), "2: 4 5");
    db().insert("INSERT INTO EnviosFacturacion (IdRegistro, Fecha, Estado) VALUES (5, ?, ?)",
                {"2026-12-06T10:01:00", "Correcto"});
    db().insert("INSERT INTO FacturasLibres (Fecha, NFactura, Total) VALUES (?, ?, 1)",
                {"2026-12-06", "FL/6"});
    EXPECT_EQ(pending(), "2: 4 6");
}

TEST_F(VerifactuRecords, MigrationAddsTheTablesSwitchedOff) {
    const QString path = home_.makeDatabase(QStringLiteral("antigua.erm"));
    {
        Database old;
        ASSERT_TRUE(old.open(path));
        // As a file of the previous version: none of the records' objects.
        torvane::testing::dropInvoiceRecords(old);
        EXPECT_FALSE(old.hasTable("RegistrosFacturacion"));
        old.applyMigrations();
        EXPECT_EQ(old.userVersion(), Database::kSchemaVersion);
        EXPECT_TRUE(old.hasTable("RegistrosFacturacion"));
        EXPECT_FALSE(vf::loadSettings(old).enabled);
        old.insert(
            "INSERT INTO FacturasODT (NFactura, Fecha, Importe) VALUES ('X', '2026-12-06', 1)");
        EXPECT_EQ(old.scalar("SELECT count(*) FROM RegistrosFacturacion").toInt(), 0);
        old.exec("UPDATE ConfigFacturacion SET Activo = 1");
        old.insert(
            "INSERT INTO FacturasODT (NFactura, Fecha, Importe) VALUES ('Y', '2026-12-06', 1)");
        EXPECT_EQ(old.scalar("SELECT count(*) FROM RegistrosFacturacion").toInt(), 1);
    }
}
