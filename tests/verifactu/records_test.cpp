#include "verifactu/records.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <functional>

#include "data/database.h"
#include "support/legacy_databases.h"
#include "support/temp_home.h"
#include "verifactu/send_client.h"
#include "verifactu/settings.h"

using namespace torvane;
using namespace torvane::testing;
namespace vf = torvane::verifactu;

namespace {

class VerifactuRecords : public ::testing::Test {
  protected:
    void SetUp() override {
        db().exec("INSERT INTO DatosEmpresa (Nombre, Nif) VALUES ('TALLER', 'B12345678')");
        db().exec(
            "INSERT INTO Clientes (Id_Cli, Codigo, NIF, Nombre, Apellido1) VALUES "
            "(1, '1', '12.345.678-z', 'JUAN', 'GARCÍA  PÉREZ'), (2, '2', '', 'ANA', 'SIN NIF')");
        db().exec(
            "INSERT INTO Aseguradoras (Id_Ase, Codigo, NIF, Nombre) VALUES "
            "(7, '7', 'A28000001', 'SEGUROS DEL NORTE SA')");
        db().exec("INSERT INTO ODTS (NODT, Id_Cli, NFactura) VALUES ('ODT1', 1, 'FR26/12/00001')");
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

// Each kind of invoice: the statements that issue and remove it, the amounts recorded and
// whom the agency is told it was made out to (a tow report's invoice: the insurer).
struct InvoiceTable {
    const char* table;
    const char* number;
    const char* cuota;
    const char* importe;
    const char* recipient;
    const char* remove;
    const char* issue;  // statements separated by ";"
};

const InvoiceTable kTables[] = {
    {"FacturasODT", "FR26/12/00001", "16.00", "116.00", "12345678Z JUAN GARCÍA PÉREZ",
     "DELETE FROM FacturasODT WHERE NFactura = 'FR26/12/00001'",
     "INSERT INTO FacturasODT (NFactura, Fecha, Base, IVA, Importe, Pagado) VALUES "
     "('FR26/12/00001', '2026-12-06', 100, 16, 116, 0)"},
    {"FacturasLibres", "FL26/12/00007", "16.00", "110.20", "12345678Z JUAN GARCÍA PÉREZ",
     "DELETE FROM FacturasLibres WHERE NFactura = 'FL26/12/00007'",
     "INSERT INTO FacturasLibres (Fecha, NFactura, Id_Cli, Suma, Iva, Total, Descuento, Dto, "
     "TipoIva) VALUES ('2026-12-06', 'FL26/12/00007', 1, 100, 16, 110.2, 5.8, 5, 16)"},
    {"Comisiones", "FC26/12/0003", "24.00", "174.00", "",
     "DELETE FROM Comisiones WHERE NFactura = 'FC26/12/0003'",
     "INSERT INTO Comisiones (NFactura, Fecha, Id_Cli, Suma, Iva, Retencion, Resto) VALUES "
     "('FC26/12/0003', '2026-12-06', 2, 150, 24, 22.5, 151.5)"},
    {"Facturas (parts sale)", "FV26/12/00002", "8.00", "58.00", "12345678Z JUAN GARCÍA PÉREZ",
     "DELETE FROM Facturas WHERE Id_Fac = 'FV26/12/00002'",
     "INSERT INTO Facturas (Id_Fac, Fecha, Id_Cli, Pagado, Total) VALUES "
     "('FV26/12/00002', '2026-12-06', 1, 0, 58)"},
    {"Facturas (tow report at its own rate)", "FV26/12/00003", "21.00", "121.00",
     "A28000001 SEGUROS DEL NORTE SA", "DELETE FROM Facturas WHERE Id_Fac = 'FV26/12/00003'",
     "INSERT INTO Partes (NParte, Fecha, Id_Ase, NFactura, IVA) VALUES "
     "('PG26/12/00001', '2026-12-06', 7, 'FV26/12/00003', 21);"
     "INSERT INTO Facturas (Id_Fac, Fecha, Id_Cli, Pagado, Total) VALUES "
     "('FV26/12/00003', '2026-12-06', 0, 0, 121)"},
};

void issue(Database& db, const InvoiceTable& t) {
    for (const QString& sql : QString::fromUtf8(t.issue).split(';')) db.exec(sql);
}

}  // namespace

// Every kind of invoice issued and removed, with the records switched off and then on, in a
// file migrated from before the records; the records written cannot be changed, and an invoice
// and its record are written together.
TEST_F(VerifactuRecords, EveryInvoiceTableWritesOneAltaAndOneAnulacion) {
    dropInvoiceRecords(db());
    db().applyMigrations();
    EXPECT_EQ(db().userVersion(), Database::kSchemaVersion);
    EXPECT_EQ(vf::vatRate(db()), Quantity::whole(16));
    for (const InvoiceTable& t : kTables) {
        issue(db(), t);
        db().exec(t.remove);
    }
    EXPECT_EQ(count(), 0);

    switchOn();
    int expected = 0;
    for (const InvoiceTable& t : kTables) {
        issue(db(), t);
        ASSERT_EQ(count(), ++expected) << t.table;
        const auto alta = vf::altaOf(db(), QString::fromUtf8(t.number));
        ASSERT_TRUE(alta.has_value()) << t.table;
        EXPECT_EQ(alta->fecha, "06-12-2026") << t.table;
        EXPECT_EQ(alta->cuotaTotal, t.cuota) << t.table;
        EXPECT_EQ(alta->importeTotal, t.importe) << t.table;
        EXPECT_TRUE(QRegularExpression("^2026-\\d\\d-\\d\\dT[\\d:]{8}[+-]\\d\\d:\\d\\d$")
                        .match(alta->fechaHoraHuso)
                        .hasMatch());
        const auto whom = vf::recipientOf(db(), vf::allRecords(db()).back());
        EXPECT_EQ(whom ? whom->nif + ' ' + whom->nombre : QString(), t.recipient) << t.table;
        db().exec(t.remove);
        ASSERT_EQ(count(), ++expected) << t.table;
        EXPECT_FALSE(vf::altaOf(db(), QString::fromUtf8(t.number)).has_value()) << t.table;
    }
    const auto records = vf::allRecords(db());
    // A cancellation names nobody, not even the insurer its tow report still names.
    EXPECT_FALSE(vf::recipientOf(db(), records.back()).has_value());
    // What the database chained, the program's own computation confirms link by link, and
    // finds where a record changed or lost breaks it.
    const auto intact = vf::checkChain(records);
    EXPECT_FALSE(intact.has_value()) << intact->reason.toStdString();
    const std::pair<std::function<void(std::vector<vf::Record>&)>, const char*> spoilt[] = {
        {[](auto& r) { r[4].importeTotal = "11.00"; },
         "El registro 5 (factura FC26/12/0003) ha sido modificado"},
        {[](auto& r) { r[5].fecha = "07-12-2026"; },
         "El registro 6 (factura FC26/12/0003) ha sido modificado"},
        {[](auto& r) { r.erase(r.begin() + 2); },
         "El registro 3 (factura FL26/12/00007) no enlaza con el anterior"},
    };
    for (const auto& [spoil, reason] : spoilt) {
        auto changed = records;
        spoil(changed);
        const auto broken = vf::checkChain(changed);
        EXPECT_TRUE(broken && broken->reason.startsWith(QString::fromUtf8(reason))) << reason;
    }

    SCOPED_TRACE("records cannot be changed or deleted");
    EXPECT_THROW(db().exec("UPDATE RegistrosFacturacion SET ImporteTotal = '1.00'"), DbError);
    EXPECT_THROW(db().exec("DELETE FROM RegistrosFacturacion"), DbError);
    EXPECT_EQ(vf::allRecords(db()).front().importeTotal, "116.00");

    SCOPED_TRACE("no record without its invoice nor invoice without its record");
    {
        Database::Transaction tx(db());
        issue(db(), kTables[0]);
        EXPECT_EQ(count(), expected + 1);
    }  // rolled back: the invoice and its record go together
    EXPECT_EQ(count(), expected);
    EXPECT_EQ(db().scalar("SELECT count(*) FROM FacturasODT").toInt(), 0);
}

// What is left to send and what the settings screen lists follow the answers stored, in a new
// file and in one migrated from before the pending records were listed apart.
TEST_F(VerifactuRecords, PendingAndListedRecordsFollowTheAnswers) {
    switchOn();
    for (int i = 1; i <= 6; ++i)
        db().insert("INSERT INTO FacturasLibres (Fecha, NFactura, Total) VALUES (?, ?, 1)",
                    {"2026-12-06", QString("FR%1").arg(i)});
    db().exec("DELETE FROM FacturasLibres WHERE NFactura = 'FR6'");
    // FR1 never sent, FR2 only ever unanswered, FR3 accepted after a lost answer, FR4 rejected,
    // FR5 accepted with errors; FR6 issued and cancelled, never sent.
    const std::tuple<int, const char*, const char*> answers[] = {
        {2, "SinRespuesta", "sin conexión"},
        {3, "SinRespuesta", "sin conexión"},
        {3, "Correcto", "CSV A-1"},
        {4, "Incorrecto", "código 1100: NIF"},
        {5, "AceptadoConErrores", "código 2000: aviso"}};
    for (const auto& [id, estado, respuesta] : answers)
        db().insert(
            "INSERT INTO EnviosFacturacion (IdRegistro, Fecha, Estado, Respuesta) VALUES (?, "
            "'2026-12-06T10:00:00', ?, ?)",
            {id, estado, QString::fromUtf8(respuesta)});
    QStringList listed;
    const SqlStatement list = vf::recordList(true);
    for (const Row& r : db().rows(list.sql, list.params))
        listed << r.value("NumSerie").toString() + ' ' + r.value("Operacion").toString() + ' ' +
                      r.value("Estado").toString() + ' ' + r.value("Respuesta").toString();
    EXPECT_EQ(
        listed,
        (QStringList{"FR6 Anulación Pendiente ", "FR6 Alta Pendiente ",
                     "FR5 Alta Aceptado con errores código 2000: aviso",
                     "FR4 Alta Rechazado código 1100: NIF", "FR3 Alta Aceptado CSV A-1",
                     "FR2 Alta Pendiente (sin respuesta) sin conexión", "FR1 Alta Pendiente "}));
    const auto pending = [this] {
        QStringList ids;
        for (const vf::Record& r : vf::pendingRecords(db())) ids << QString::number(r.id);
        return QString("%1: %2").arg(vf::pendingCount(db())).arg(ids.join(' '));
    };
    EXPECT_EQ(pending(), "4: 1 2 6 7");
    // A file of the previous version: no list; the migration fills it from the answers.
    db().exec("DROP TABLE RegistrosPendientes");
    db().exec("DROP TRIGGER RegistrosPendientes_Nuevo");
    db().exec("DROP TRIGGER RegistrosPendientes_Respondido");
    db().exec("PRAGMA user_version=7");
    db().applyMigrations();
    EXPECT_EQ(pending(), "4: 1 2 6 7");
    db().insert("INSERT INTO EnviosFacturacion (IdRegistro, Fecha, Estado) VALUES (6, ?, ?)",
                {"2026-12-06T10:01:00", "Correcto"});
    db().insert("INSERT INTO FacturasLibres (Fecha, NFactura, Total) VALUES (?, ?, 1)",
                {"2026-12-06", "FR7"});
    EXPECT_EQ(pending(), "4: 1 2 7 8");
}
