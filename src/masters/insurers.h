#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "core/field_binding.h"
#include "core/grid_column.h"
#include "core/money.h"
#include "core/sql_statement.h"
#include "data/database.h"

namespace torvane::insurers {

// Insurer fields in screen order (the hidden key txtId_Ase excluded).
const QList<FieldBinding>& insurerFields();

inline constexpr const char* kMandatoryInsurerFields =
    "Los campos Código, Nombre y Nif son obligatorios";

QString checkInsurer(const Row& values);
qint64 saveInsurer(Database& db, const QVariant& id, const Row& values);
// The insurer's tariff row stays.
void deleteInsurer(Database& db, qint64 id);
SqlStatement insurerKeys();

// ---- Tow tariffs: one row of 29 amounts per insurer ----

// Services (grid rows) and the four columns: car / van, working day / holiday or night.
struct TariffService {
    const char* prefix;
    const char* caption;
};
const QList<TariffService>& tariffServices();
inline constexpr int kTariffColumns = 4;
// The column of a service and grid column: "U", 1 -> "UTF".
QString tariffColumn(const TariffService& service, int column);
// The single values beside the grid: Espera, Rescate, Deposito, P1, P2.
const QStringList& tariffSingles();
// All 29 columns: the grid row by row, then the single values. Field Text1_i edits
// column i of this list.
const QStringList& tariffColumns();
inline constexpr int kTariffFieldCount = 29;

// The insurer's tariff amounts; all zero when it has no tariff row (nothing is
// stored until saveTariff).
struct Tariff {
    bool stored = false;
    QList<Money> amounts;  // in tariffColumns() order
};
Tariff loadTariff(Database& db, qint64 insurerId);
// Field texts as shown ("12,5"); the message for the first one that does not read, or "".
QString checkTariff(const QStringList& texts);
// Writes the insurer's tariff row, creating it when missing.
void saveTariff(Database& db, qint64 insurerId, const QList<Money>& amounts);

// Insurer search.
SqlStatement insurerSearchInitial();
SqlStatement insurerSearch(int option, const QString& typed);  // 0 code, 1 name
const QList<GridColumn>& insurerSearchColumns();

}  // namespace torvane::insurers
