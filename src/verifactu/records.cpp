#include "verifactu/records.h"

#include <QUrl>
#include <stdexcept>

#include "data/database.h"
#include "verifactu/fingerprint.h"

namespace torvane::verifactu {

namespace {
bool hasRecords(Database& db) {
    return db.hasTable(QStringLiteral("ConfigFacturacion"));
}
}  // namespace

Settings loadSettings(Database& db) {
    Settings s;
    if (!hasRecords(db)) return s;
    const auto row = db.firstRow(QStringLiteral(
        "SELECT Activo, Modo, Certificado, TipoIva FROM ConfigFacturacion WHERE Id = 1"));
    if (!row) return s;
    s.enabled = row->value(QStringLiteral("Activo")).toInt() == 1;
    s.mode = row->value(QStringLiteral("Modo")).toString();
    s.certificate = row->value(QStringLiteral("Certificado")).toString();
    s.vatRate = Quantity::fromDb(row->value(QStringLiteral("TipoIva")));
    return s;
}

void saveSettings(Database& db, const Settings& s) {
    if (s.vatRate < Quantity() || s.vatRate > Quantity::whole(100))
        throw std::invalid_argument("El tipo de IVA debe estar entre 0 y 100.");
    if (!hasRecords(db))
        throw std::invalid_argument(
            "La base de datos no tiene las tablas de registros de facturación.");
    Database::Transaction tx(db);
    db.exec(QStringLiteral("INSERT OR IGNORE INTO ConfigFacturacion (Id) VALUES (1)"));
    db.exec(QStringLiteral("UPDATE ConfigFacturacion SET Activo = ?, Modo = ?, Certificado = ?, "
                           "TipoIva = ? WHERE Id = 1"),
            {s.enabled ? 1 : 0, s.mode, s.certificate, s.vatRate.toDb()});
    tx.commit();
}

Quantity vatRate(Database& db) {
    return loadSettings(db).vatRate;
}

namespace {
std::vector<Record> readRecords(Database& db, const QString& tail, const QVariantList& params) {
    std::vector<Record> out;
    if (!db.hasTable(QStringLiteral("RegistrosFacturacion"))) return out;
    QSqlQuery q = db.execForward(
        QStringLiteral("SELECT Id, Tipo, Origen, IDEmisor, NumSerie, FechaExpedicion, TipoFactura, "
                       "CuotaTotal, ImporteTotal, HuellaAnterior, FechaHoraHuso, Huella "
                       "FROM RegistrosFacturacion ") +
            tail,
        params);
    while (q.next()) {
        Record r;
        r.id = q.value(0).toLongLong();
        r.tipo = q.value(1).toString();
        r.origen = q.value(2).toString();
        r.emisor = q.value(3).toString();
        r.numSerie = q.value(4).toString();
        r.fecha = q.value(5).toString();
        r.tipoFactura = q.value(6).toString();
        r.cuotaTotal = q.value(7).toString();
        r.importeTotal = q.value(8).toString();
        r.huellaAnterior = q.value(9).toString();
        r.fechaHoraHuso = q.value(10).toString();
        r.huella = q.value(11).toString();
        out.push_back(r);
    }
    return out;
}
}  // namespace

std::vector<Record> allRecords(Database& db) {
    return readRecords(db, QStringLiteral("ORDER BY Id"), {});
}

std::vector<Record> selectRecords(Database& db, const QString& tail, const QVariantList& params) {
    return readRecords(db, tail, params);
}

QString recordText(const Record& r) {
    if (r.tipo == QLatin1String("alta"))
        return altaText({r.emisor, r.numSerie, r.fecha, r.tipoFactura, r.cuotaTotal, r.importeTotal,
                         r.huellaAnterior, r.fechaHoraHuso});
    return anulacionText({r.emisor, r.numSerie, r.fecha, r.huellaAnterior, r.fechaHoraHuso});
}

std::optional<Break> checkChain(const std::vector<Record>& records) {
    QString previous;
    int position = 0;
    for (const Record& r : records) {
        ++position;
        if (r.huellaAnterior != previous)
            return Break{r.id, position,
                         QStringLiteral("El registro %1 (factura %2) no enlaza con el anterior: "
                                        "falta un registro o el orden ha cambiado.")
                             .arg(position)
                             .arg(r.numSerie)};
        if (fingerprint(recordText(r)) != r.huella)
            return Break{r.id, position,
                         QStringLiteral("El registro %1 (factura %2) ha sido modificado: su "
                                        "huella no corresponde a sus datos.")
                             .arg(position)
                             .arg(r.numSerie)};
        previous = r.huella;
    }
    return std::nullopt;
}

std::optional<Record> altaOf(Database& db, const QString& numSerie) {
    const auto last =
        readRecords(db, QStringLiteral("WHERE NumSerie = ? ORDER BY Id DESC LIMIT 1"), {numSerie});
    if (last.empty() || last.front().tipo != QLatin1String("alta")) return std::nullopt;
    return last.front();
}

QString qrUrl(const QString& nif, const QString& numSerie, const QString& fecha,
              const QString& importe, bool verifactu) {
    const QString base =
        QStringLiteral("https://www2.agenciatributaria.gob.es/wlpl/TIKE-CONT/") +
        (verifactu ? QStringLiteral("ValidarQR") : QStringLiteral("ValidarQRNoVerifactu"));
    auto enc = [](const QString& v) { return QString::fromLatin1(QUrl::toPercentEncoding(v)); };
    return base + QStringLiteral("?nif=") + enc(nif) + QStringLiteral("&numserie=") +
           enc(numSerie) + QStringLiteral("&fecha=") + enc(fecha) + QStringLiteral("&importe=") +
           enc(importe);
}

}  // namespace torvane::verifactu
