// The sales documents rendered over a fixed workshop, compared with reviewed texts
// (tests/sales/expected; TORVANE_UPDATE_EXPECTED=1 rewrites them).
#include <gtest/gtest.h>

#include <array>

#include "billing/billing_fixture.h"
#include "reports/report_fixture.h"
#include "sales/sales_list.h"
#include "sales_fixture.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

// Two notes of JUAN invoiced together (the first with an article and a free line),
// and MARÍA's note alone.
void fillSales(Session& s) {
    Database& db = s.db();
    const qint64 art = addArticle(db, "FIL-01", "FILTRO DE ACEITE", 5, 1, 10);
    const QString a = sales::startNewNote(s);
    sales::storeLine(db, a, saleLine(art, "FIL-01", "2", "10", "10"));
    sales::storeLine(db, a, saleLine(0, "", "1", "3,33"));
    sales::NoteHeader h;
    h.number = a;
    h.date = QDate(2008, 3, 3);
    h.customerId = 1;
    h.notes = "ENTREGAR EN MOSTRADOR";
    sales::saveNote(db, h, {});
    const QString b = sales::startNewNote(s);
    sales::storeLine(db, b, saleLine(0, "", "1", "110,65", "10"));
    h.number = b;
    h.notes.clear();
    sales::saveNote(db, h, {});
    sales::invoiceTogether(db, {a, b}, 1, "FV08/03/00001", QDate(2008, 3, 5), false);
    addSavedNote(s, 2, "50");
}

TEST(SalesReports, RenderAsReviewed) {
    TempHome home;
    home.session().setToday(QDate(2008, 3, 5));
    fillReportFixture(home.db());
    fillSales(home.session());
    const std::array<const char*, 3> cases[] = {
        {"\\qarvoalbventa.rpt", "{Albaranes.Id_Alb}='AR08/03/00001'", "qarvoalbventa"},
        // The invoice of the first note is the whole invoice: both notes.
        {"\\qarvofacventa.rpt", "{Albaranes.Id_Alb}='AR08/03/00001'", "qarvofacventa"},
        {"\\qarvofacventai.rpt", "{Albaranes.Id_Alb}='AR08/03/00002'", "qarvofacventai"},
        {"\\TICKETVENTA.rpt", "{Albaranes.Id_Alb}='AR08/03/00001'", "TICKETVENTA"},
        {"\\QARVOFACVENTA2.rpt", "{Albaranes.Id_Alb} like [\"AR08/03/00001\",\"AR08/03/00002\"]",
         "qarvofacventa2"},
    };
    for (const auto& [file, formula, reference] : cases)
        expectReference(
            "sales", QString::fromLatin1(reference),
            rendered(home.session(), QString::fromLatin1(file), QString::fromUtf8(formula)));
}

}  // namespace
