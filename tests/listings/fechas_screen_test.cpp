#include "controls/opc_entrada.h"
#include "listings/fechas.h"
#include "listings/listings_fixture.h"
#include "masters/screen_fixture.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

class ListingsFechasScreen : public ScreenTest {
  protected:
    void SetUp() override {
        fillListingsFixture(db());
        home.session().setToday(QDate(2008, 3, 31));
    }
};

TEST_F(ListingsFechasScreen, ShowsTheMonthSoFarAndPrintsTheKeysListing) {
    struct Case {
        const char* key;
        qint64 id;
        const char* name;     // report printed; empty: nothing
        const char* formula;  // its selection formula
    };
    const Case cases[] = {
        {"qarvolfacven2.rpt", 2, "qarvolfacven2.rpt",
         "{Facturas.Id_Cli} =2 and {Facturas.Fecha} in DateTime (2008,03,01,00, 00, 00) to "
         "DateTime (2008,03,31 ,00, 00, 00)"},
        {"qarvolgrua2.rpt", 1, "qarvolgrua.rpt",
         "{Partes.Id_Ase}=1and {Partes.FechaFactura} in DateTime (2008,03,01,00, 00, 00) to "
         "DateTime (2008,03,31 ,00, 00, 00)"},
        {"qarvolfac2", 7, "", ""},
    };
    for (const Case& c : cases) {
        auto* s = new Fechas(home.session(), services);
        s->setAttribute(Qt::WA_DeleteOnClose);
        s->setKey(QString::fromUtf8(c.key));
        s->setId(c.id);
        s->show();
        EXPECT_EQ(control<OpcEntrada>(s, "opcDesde")->text(), "01/03/2008") << c.key;
        EXPECT_EQ(control<OpcEntrada>(s, "OpcHasta")->text(), "31/03/2008") << c.key;
        const size_t before = services.output.jobs().size();
        QPointer<QWidget> alive(s);
        click(s, "CmdSeleccionar");
        settle();
        EXPECT_TRUE(alive.isNull()) << c.key << " stays open";
        EXPECT_TRUE(dialogs.entries().empty()) << c.key;
        if (*c.name == 0) {
            EXPECT_EQ(services.output.jobs().size(), before) << c.key;
            continue;
        }
        ASSERT_EQ(services.output.jobs().size(), before + 1) << c.key;
        const auto& job = services.output.jobs().back();
        EXPECT_TRUE(job.preview) << c.key;
        EXPECT_EQ(job.report.name.toLower().toStdString(), c.name);
        EXPECT_EQ(job.report.formula.toStdString(), c.formula);
    }
}

}  // namespace
