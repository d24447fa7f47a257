#pragma once

#include <QString>
#include <optional>

namespace torvane::listings {

// What a listing key of the date-range screen prints.
enum class Routine {
    ImprimirInforme,  // the file, with the formula, previewed
    SupplierSearch,   // the formula goes to the supplier search as its mode text
};

struct DatedListing {
    QString file;     // as the screens write it: "\QARVOLFAC.rpt"; empty for SupplierSearch
    QString formula;  // the whole selection formula
    Routine routine = Routine::ImprimirInforme;
};

// The date range as the screen writes it: prefix, then the two date texts cut by
// position (day 1-2, month 4-5, year the last four) and joined with the engine's
// time parts. `ending` replaces the closing " ,00, 00, 00)".
QString dateRangeFormula(const QString& prefix, const QString& from, const QString& to,
                         const QString& ending = QStringLiteral(" ,00, 00, 00)"));

// The listing of a key for the two date texts; id is the customer (Id_Cli) or
// insurer (Id_Ase) chosen before, for the keys that take one. Keys compare
// exactly, case included; an unknown key prints nothing.
std::optional<DatedListing> datedListing(const QString& key, const QString& from, const QString& to,
                                         qint64 id = 0);

}  // namespace torvane::listings
