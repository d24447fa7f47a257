#pragma once

#include <QDate>
#include <QString>
#include <QVariantList>
#include <optional>
#include <vector>

#include "core/money.h"

namespace torvane {
class Database;
}

namespace torvane::verifactu {

// The two ways of keeping the records: sent to the agency as they are made, or kept in the
// program and handed over only when the agency asks for them.
inline constexpr const char* kModeVerifactu = "VERI*FACTU";
inline constexpr const char* kModeNoVerifactu = "NO VERI*FACTU";

// What the user sets on the invoice-records screen. A file without the records tables
// reads as switched off with the rate the program always used.
struct Settings {
    bool enabled = false;
    QString mode = QString::fromLatin1(kModeVerifactu);
    QString certificate;
    Quantity vatRate = Quantity::whole(16);

    // Whether the records go to the agency (switched on, in VERI*FACTU mode).
    bool sentToAgency() const { return enabled && mode == QLatin1String(kModeVerifactu); }
};

Settings loadSettings(Database& db);
// Refuses a rate below 0 or above 100 with a Spanish message (std::invalid_argument).
void saveSettings(Database& db, const Settings& s);
// The VAT rate every invoice computes with.
Quantity vatRate(Database& db);

struct Record {
    qint64 id = 0;
    QString tipo;  // "alta" or "anulacion"
    QString origen;
    QString emisor;
    QString numSerie;
    QString fecha;
    QString tipoFactura;
    QString cuotaTotal;
    QString importeTotal;
    QString huellaAnterior;
    QString fechaHoraHuso;
    QString huella;
};

std::vector<Record> allRecords(Database& db);
// The records chosen by `tail` (a WHERE/ORDER BY of RegistrosFacturacion, bound `params`).
std::vector<Record> selectRecords(Database& db, const QString& tail, const QVariantList& params);
// The text the record's fingerprint is computed over.
QString recordText(const Record& r);

// The first link of the chain that does not hold, or nothing when all of it holds.
struct Break {
    qint64 id = 0;
    int position = 0;  // 1-based, in the order the records were written
    QString reason;
};
std::optional<Break> checkChain(const std::vector<Record>& records);

// The last "alta" record of an invoice number, when the invoice has one.
std::optional<Record> altaOf(Database& db, const QString& numSerie);

// The agency's address that checks an invoice, for its QR code.
QString qrUrl(const QString& nif, const QString& numSerie, const QString& fecha,
              const QString& importe, bool verifactu = true);

}  // namespace torvane::verifactu
