#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "core/grid_column.h"
#include "core/money.h"
#include "core/sql_statement.h"
#include "verifactu/records.h"

namespace torvane {
class Database;
}

// What the invoice-records settings screen reads, checks and writes; no widgets here.
namespace torvane::verifactu {

QStringList modes();

inline constexpr const char* kBadRate = "El tipo de IVA no es un número válido.";
inline constexpr const char* kRateOutOfRange = "El tipo de IVA debe estar entre 0 y 100.";
inline constexpr const char* kRateTooManyDecimals =
    "El tipo de IVA admite como mucho dos decimales.";
inline constexpr const char* kUnknownMode = "Elija el modo de los registros de facturación.";
inline constexpr const char* kNoCertificate =
    "Para enviar los registros a la Agencia Tributaria elija el certificado de la empresa "
    "(archivo .p12 o .pfx).";
inline constexpr const char* kCannotSwitchOff =
    "Los registros de facturación ya están activados y no se pueden desactivar.";
inline constexpr const char* kConfirmSwitchOn =
    "Una vez activados, los registros de facturación no se pueden desactivar: cada factura "
    "que se emita quedará registrada y encadenada a la anterior, y en modo VERI*FACTU se "
    "enviará a la Agencia Tributaria.\n\n¿Desea activar los registros de facturación?";
inline constexpr const char* kSaved = "La configuración de facturación se ha guardado.";
// "No se encuentra el certificado <path>."
QString certificateMissingMessage(const QString& path);

// A rate as the user reads and types it: "16", "10,5".
QString rateText(Quantity rate);
// The rate typed, or the message that refuses it: a number from 0 to 100 with two
// decimals at most.
struct RateInput {
    std::optional<Quantity> rate;
    QString refusal;
};
RateInput readRate(const QString& text);

// The screen's fields as typed.
struct SettingsInput {
    bool enabled = false;
    QString mode;
    QString certificate;  // path of the PKCS#12 file; its password is never stored
    QString vatRate;
};
SettingsInput inputOf(const Settings& s);

// The settings to store, or the message that refuses the input. `current` is what is
// stored now: records once switched on stay on.
struct Checked {
    std::optional<Settings> settings;
    QString refusal;
    // True when this saving switches the records on, which the user must confirm.
    bool switchesOn = false;
};
Checked check(const SettingsInput& input, const Settings& current);

// The records in the settings screen's list, newest first: invoice, date, operation, total,
// where its sending stands and the agency's last answer. `sent`: the records go to the
// agency (VERI*FACTU mode); otherwise an unsent record is only kept.
SqlStatement recordList(bool sent);
QList<GridColumn> recordListColumns();

// Checks and writes in one step; a refusal is returned and nothing is written. The caller
// has asked for the confirmation when the saving switches the records on.
QString save(Database& db, const SettingsInput& input);

}  // namespace torvane::verifactu
