#include "listings/listing_keys.h"

#include <array>

namespace torvane::listings {

namespace {

// How the id, when the key takes one, goes in front of the date range.
enum class IdPart { None, Customer, Insurer };

struct KeyRow {
    const char* key;
    const char* file;
    const char* prefix;  // the text before the id (IdPart) or before the dates
    const char* rest;    // after the id: the rest of the prefix
    IdPart id;
    Routine routine;
    bool pending;  // ends with the outstanding-amount condition
};

constexpr auto R = Routine::ImprimirInforme;
constexpr auto N = IdPart::None;

// clang-format off
constexpr std::array<KeyRow, 23> kKeys{{
    {"QARVOLFAC.rpt", "\\QARVOLFAC.rpt", "{FacturasODT.Fecha} in DateTime (", "", N, R, false},
    {"QARVOLFACCC.rpt", "\\QARVOLFACCC.rpt", "{FacturasODT.Fecha} in DateTime (", "", N, R, false},
    {"qarvolfac2.rpt", "\\QARVOLFAC2.rpt", "{ODTS.Id_Cli} =", " and {FacturasODT.Fecha} in DateTime (", IdPart::Customer, R, false},
    {"QARVOLFAC22.rpt", "\\QARVOLFAC2.rpt", "{FacturasODT.Fecha} in DateTime (", "", N, R, false},
    {"qarvolfacven.rpt", "\\qarvolfacven.rpt", " {Facturas.Fecha} in DateTime (", "", N, R, false},
    {"qarvolfacven2.rpt", "\\qarvolfacven2.rpt", "{Facturas.Id_Cli} =", " and {Facturas.Fecha} in DateTime (", IdPart::Customer, R, false},
    {"qarvolfacven3.rpt", "\\qarvolfacven3.rpt", " {Facturas.Fecha} in DateTime (", "", N, R, false},
    {"qarvolfacven22.rpt", "\\qarvolfacven2.rpt", " {Facturas.Fecha} in DateTime (", "", N, R, false},
    {"QARVOLFACpend.rpt", "\\qarvolfacvenpend.rpt", " {Facturas.Fecha} in DateTime (", "", N, R, true},
    {"qarvolgrua.rpt", "\\qarvolgrua.rpt", " {Partes.FechaFactura} in DateTime (", "", N, R, false},
    {"qarvolgrua2.rpt", "\\qarvolgrua.rpt", "{Partes.Id_Ase}=", "and {Partes.FechaFactura} in DateTime (", IdPart::Insurer, R, false},
    {"qarvolfaccomi.rpt", "\\qarvolfaccomi.rpt", "{Comisiones.Fecha} in DateTime (", "", N, R, false},
    {"qarvolodt.rpt", "\\qarvolodt.rpt", "{ODTS.Fecha} in DateTime (", "", N, R, false},
    {"Comprasgeneral", "\\qarvolentrp.rpt", "{Entradas.Fecha} in DateTime (", "", N, R, false},
    {"Comprasgeneraltot", "\\qarvolentrprotot.rpt", "{Entradas.Fecha} in DateTime (", "", N, R, false},
    {"ComprasProv", "", "{Entradas.Fecha} in DateTime (", "", N, Routine::SupplierSearch, false},
    {"QARVOCLIENTESIMPMEN.rpt", "\\QARVOCLIENTESIMPMEN.rpt", "{ConUnion.Fecha} in DateTime (", "", N, R, false},
    {"QARVOCLIENTESIMPMAS.rpt", "\\QARVOCLIENTESIMPMAS.rpt", "{ConUnion.Fecha} in DateTime (", "", N, R, false},
    {"QARVOCLIENTESIMPORTE.rpt", "\\QARVOCLIENTESIMPORTE.rpt", "{ConUnion.Fecha} in DateTime (", "", N, R, false},
    {"QARVOLPROIMPMEN.rpt", "\\QARVOLPROIMPMEN.rpt", "{Entradas.Fecha} in DateTime (", "", N, R, false},
    {"QARVOLPROIMPMAS.rpt", "\\QARVOLPROIMPMAS.rpt", "{Entradas.Fecha} in DateTime (", "", N, R, false},
    {"QARVOLPROIMPORTE.rpt", "\\QARVOLPROIMPORTE.rpt", "{Entradas.Fecha} in DateTime (", "", N, R, false},
    // "Beneficios ODT": the work orders invoiced in the range.
    {"qarvolbenodt.rpt", "\\qarvolbenodt.rpt", "{FacturasODT.Fecha} in DateTime (", "", N, R, false},
}};
// clang-format on

const KeyRow* rowOf(const QString& key) {
    for (const KeyRow& row : kKeys)
        if (key == QLatin1String(row.key)) return &row;
    return nullptr;
}

}  // namespace

QString dateRangeFormula(const QString& prefix, const QString& from, const QString& to,
                         const QString& ending) {
    const auto year = [](const QString& d) { return d.right(4); };
    const auto month = [](const QString& d) { return d.mid(3, 2); };
    const auto day = [](const QString& d) { return d.left(2); };
    return prefix + year(from) + QLatin1Char(',') + month(from) + QLatin1Char(',') + day(from) +
           QStringLiteral(",00, 00, 00) to DateTime (") + year(to) + QLatin1Char(',') + month(to) +
           QLatin1Char(',') + day(to) + ending;
}

std::optional<DatedListing> datedListing(const QString& key, const QString& from, const QString& to,
                                         qint64 id) {
    const KeyRow* row = rowOf(key);
    if (!row) return std::nullopt;
    QString prefix = QString::fromUtf8(row->prefix);
    if (row->id != IdPart::None) prefix += QString::number(id) + QString::fromUtf8(row->rest);
    const QString ending = row->pending ? QStringLiteral(" ,00, 00, 00) and {@PENDIENTE}>0")
                                        : QStringLiteral(" ,00, 00, 00)");
    return DatedListing{QString::fromUtf8(row->file), dateRangeFormula(prefix, from, to, ending),
                        row->routine};
}

}  // namespace torvane::listings
