#include <gtest/gtest.h>

#include "listings/listing_keys.h"

namespace torvane::listings {
namespace {

struct KeyCase {
    const char* key;
    const char* file;
    const char* formula;
};

// March 2008, customer 7 or insurer 3 where the key takes an id.
const KeyCase kMarch2008[] = {
    {"QARVOLFAC.rpt", "\\QARVOLFAC.rpt",
     "{FacturasODT.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, "
     "00)"},
    {"QARVOLFACCC.rpt", "\\QARVOLFACCC.rpt",
     "{FacturasODT.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, "
     "00)"},
    {"qarvolfac2.rpt", "\\QARVOLFAC2.rpt",
     "{ODTS.Id_Cli} =7 and {FacturasODT.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime "
     "(2008,03,31 ,00, 00, 00)"},
    {"QARVOLFAC22.rpt", "\\QARVOLFAC2.rpt",
     "{FacturasODT.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, "
     "00)"},
    {"qarvolfacven.rpt", "\\qarvolfacven.rpt",
     " {Facturas.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)"},
    {"qarvolfacven2.rpt", "\\qarvolfacven2.rpt",
     "{Facturas.Id_Cli} =7 and {Facturas.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime "
     "(2008,03,31 ,00, 00, 00)"},
    {"qarvolfacven3.rpt", "\\qarvolfacven3.rpt",
     " {Facturas.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)"},
    {"qarvolfacven22.rpt", "\\qarvolfacven2.rpt",
     " {Facturas.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)"},
    {"QARVOLFACpend.rpt", "\\qarvolfacvenpend.rpt",
     " {Facturas.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00) "
     "and {@PENDIENTE}>0"},
    {"qarvolgrua.rpt", "\\qarvolgrua.rpt",
     " {Partes.FechaFactura} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, "
     "00)"},
    {"qarvolgrua2.rpt", "\\qarvolgrua.rpt",
     "{Partes.Id_Ase}=3and {Partes.FechaFactura} in DateTime (2008,03,01,00, 00, 00) to DateTime "
     "(2008,03,31 ,00, 00, 00)"},
    {"qarvolfaccomi.rpt", "\\qarvolfaccomi.rpt",
     "{Comisiones.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)"},
    {"qarvolodt.rpt", "\\qarvolodt.rpt",
     "{ODTS.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)"},
    {"Comprasgeneral", "\\qarvolentrp.rpt",
     "{Entradas.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)"},
    {"Comprasgeneraltot", "\\qarvolentrprotot.rpt",
     "{Entradas.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)"},
    {"ComprasProv", "",
     "{Entradas.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)"},
    {"QARVOCLIENTESIMPMEN.rpt", "\\QARVOCLIENTESIMPMEN.rpt",
     "{ConUnion.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)"},
    {"QARVOCLIENTESIMPMAS.rpt", "\\QARVOCLIENTESIMPMAS.rpt",
     "{ConUnion.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)"},
    {"QARVOCLIENTESIMPORTE.rpt", "\\QARVOCLIENTESIMPORTE.rpt",
     "{ConUnion.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)"},
    {"QARVOLPROIMPMEN.rpt", "\\QARVOLPROIMPMEN.rpt",
     "{Entradas.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)"},
    {"QARVOLPROIMPMAS.rpt", "\\QARVOLPROIMPMAS.rpt",
     "{Entradas.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)"},
    {"QARVOLPROIMPORTE.rpt", "\\QARVOLPROIMPORTE.rpt",
     "{Entradas.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)"},
    {"qarvolbenodt.rpt", "\\qarvolbenodt.rpt",
     "{FacturasODT.Fecha} in DateTime (2008,03,01,00, 00, 00) to DateTime (2008,03,31 ,00, 00, "
     "00)"},
};

TEST(ListingKeys, EveryKeyGivesItsFileAndFormulaCharacterForCharacter) {
    for (const KeyCase& c : kMarch2008) {
        const QString key = QString::fromUtf8(c.key);
        const qint64 id = key == QLatin1String("qarvolgrua2.rpt") ? 3 : 7;
        const auto listing =
            datedListing(key, QStringLiteral("01/03/2008"), QStringLiteral("31/03/2008"), id);
        ASSERT_TRUE(listing) << c.key;
        EXPECT_EQ(listing->file.toStdString(), c.file) << c.key;
        EXPECT_EQ(listing->formula.toStdString(), c.formula) << c.key;
        EXPECT_EQ(listing->routine, key == QLatin1String("ComprasProv") ? Routine::SupplierSearch
                                                                        : Routine::ImprimirInforme)
            << c.key;
    }
}

TEST(ListingKeys, KeysCompareExactlyAndUnknownOnesPrintNothing) {
    for (const char* key : {"QARVOLFAC2.rpt", "qarvolfac.rpt", "QARVOLFACPEND.rpt", "",
                            "comprasprov", "qarvolgrua.rpt "})
        EXPECT_FALSE(datedListing(QString::fromUtf8(key), QStringLiteral("01/03/2008"),
                                  QStringLiteral("31/03/2008"), 7))
            << key;
}

TEST(ListingKeys, OnlyTheCustomerAndInsurerKeysTakeAnId) {
    for (const KeyCase& c : kMarch2008) {
        const QString key = QString::fromUtf8(c.key);
        const bool takes = key == QLatin1String("qarvolfac2.rpt") ||
                           key == QLatin1String("qarvolfacven2.rpt") ||
                           key == QLatin1String("qarvolgrua2.rpt");
        EXPECT_EQ(keyTakesId(key), takes) << c.key;
    }
    EXPECT_FALSE(keyTakesId(QStringLiteral("QARVOLFAC2.rpt")));
}

TEST(ListingKeys, DatesAreCutByPositionFromTheTexts) {
    struct Case {
        const char* from;
        const char* to;
        const char* formula;
    };
    const Case cases[] = {
        {"15/11/2009", "02/01/2010",
         "P2009,11,15,00, 00, 00) to DateTime (2010,01,02 ,00, 00, 00)"},
        // A short text is cut all the same: the engine reports the bad formula.
        {"1/3/2008", "31/03/2008", "P2008,/2,1/,00, 00, 00) to DateTime (2008,03,31 ,00, 00, 00)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dateRangeFormula(QStringLiteral("P"), QString::fromUtf8(c.from),
                                   QString::fromUtf8(c.to))
                      .toStdString(),
                  c.formula);
}

}  // namespace
}  // namespace torvane::listings
