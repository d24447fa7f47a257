// The sales documents rendered over a fixed workshop, compared with reviewed texts
// (tests/sales/expected; TORVANE_UPDATE_EXPECTED=1 rewrites them).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "reports/informes.h"
#include "reports/report_engine.h"
#include "reports/report_fixture.h"
#include "sales/sales_list.h"
#include "sales_fixture.h"
#include "support/temp_home.h"

using namespace torvane;
using namespace torvane::testing;

namespace {

QString salesExpectedFolder() {
    const QString source = qEnvironmentVariable("TORVANE_SOURCE");
    if (!source.isEmpty()) return QDir(source).filePath("tests/sales/expected");
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath("expected");
}

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
    struct Case {
        const char* file;
        const char* formula;
        const char* reference;
        const char* mustShow;  // the amount a reader checks first
    };
    const Case cases[] = {
        {"\\qarvoalbventa.rpt", "{Albaranes.Id_Alb}='AR08/03/00001'", "qarvoalbventa", "24,74"},
        // The invoice of the first note is the whole invoice: both notes.
        {"\\qarvofacventa.rpt", "{Albaranes.Id_Alb}='AR08/03/00001'", "qarvofacventa", "140,26"},
        {"\\qarvofacventai.rpt", "{Albaranes.Id_Alb}='AR08/03/00002'", "qarvofacventai", "140,26"},
        {"\\TICKETVENTA.rpt", "{Albaranes.Id_Alb}='AR08/03/00001'", "TICKETVENTA", "140,26"},
        {"\\QARVOFACVENTA2.rpt", "{Albaranes.Id_Alb} like [\"AR08/03/00001\",\"AR08/03/00002\"]",
         "qarvofacventa2", "140,26"},
    };
    reports::ReportEngine engine(home.db(), reports::reportFolders(home.session()),
                                 QDate(2008, 4, 15));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reference);
        const auto result =
            engine.render(QString::fromLatin1(c.file), QString::fromUtf8(c.formula));
        ASSERT_TRUE(result.report.has_value()) << result.error.toStdString();
        const QString text = result.report->toText();
        EXPECT_TRUE(text.contains(QString::fromLatin1(c.mustShow)));
        const QString path = salesExpectedFolder() + '/' + c.reference + ".txt";
        QFile f(path);
        if (qEnvironmentVariableIntValue("TORVANE_UPDATE_EXPECTED") == 1) {
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(text.toUtf8());
            continue;
        }
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "missing reference " << path.toStdString();
        EXPECT_EQ(text.toStdString(), QString::fromUtf8(f.readAll()).toStdString());
    }
}

}  // namespace
