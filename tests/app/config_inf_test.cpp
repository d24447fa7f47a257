#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QPointer>

#include "app/config_inf.h"
#include "controls/screen.h"
#include "core/numbering.h"
#include "core/session.h"
#include "support/screen_helpers.h"
#include "support/scripted_dialogs.h"
#include "support/temp_home.h"
#include "support/test_services.h"

using namespace torvane;
using torvane::testing::click;
using torvane::testing::control;
using torvane::testing::ScriptedDialogs;
using torvane::testing::TempHome;
using torvane::testing::TestServices;

namespace {

const char* const kFieldNames[] = {"TxtAlb",    "TxtAlbOdt", "TxtArt", "TxtEnt", "TxtFac",
                                   "TxtFacLib", "TxtFacOdt", "TxtOdt", "TxtRec", "txtPartesG"};

TEST(ConfigInf, FieldsShowTheSeriesAndSaveRewritesTheFile) {
    TempHome home(false);
    TestServices services;
    ScriptedDialogs& dialogs = services.scripted;
    ASSERT_TRUE(LoadSeries(home.session(), dialogs));
    home.session().setToday(QDate(2008, 3, 5));
    QWidget caller;
    auto* screen = new ConfigInf(home.session(), services);
    QPointer<QWidget> guard(screen);
    openScreen(&caller, screen);
    EXPECT_FALSE(caller.isEnabled());

    const QStringList defaults = defaultSeries();
    for (int i = 0; i < kSeriesCount; ++i)
        EXPECT_EQ(control<QLineEdit>(screen, kFieldNames[i])->text(), defaults[i])
            << kFieldNames[i];

    // No validation: an empty series and one without any "&" are stored as typed.
    control<QLineEdit>(screen, "TxtOdt")->setText(QString::fromUtf8("OT&Año&-&"));
    control<QLineEdit>(screen, "TxtFacLib")->clear();
    control<QLineEdit>(screen, "TxtRec")->setText(QStringLiteral("REC"));
    click(screen, "CmdGuardar");

    QStringList expected = defaults;
    expected[static_cast<int>(Series::ODT)] = QString::fromUtf8("OT&Año&-&");
    expected[static_cast<int>(Series::FL)] = QString();
    expected[static_cast<int>(Series::REC)] = QStringLiteral("REC");
    EXPECT_EQ(home.session().series(), expected);
    EXPECT_TRUE(dialogs.entries().empty());
    // Written to the file too: another session reads what was saved.
    Session other(home.folder());
    ASSERT_TRUE(LoadSeries(other, dialogs));
    EXPECT_EQ(other.series(), expected);
    // The new series number the next document; the screen stays open.
    EXPECT_EQ(seriesPrefix(home.session(), Series::ODT), QStringLiteral("OT08-"));
    EXPECT_TRUE(screen->isVisible());

    // Prefixes ending in digits are saved, with one warning for those that are numbered.
    control<QLineEdit>(screen, "TxtOdt")->setText(QString::fromUtf8("ODT&Año&"));
    control<QLineEdit>(screen, "txtPartesG")->setText(QString::fromUtf8("PG&Mes&"));
    control<QLineEdit>(screen, "TxtArt")
        ->setText(QString::fromUtf8("A&Año&Mes&"));  // probed only: no warning
    click(screen, "CmdGuardar");
    EXPECT_EQ(seriesText(home.session(), Series::ODT), QString::fromUtf8("ODT&Año&"));
    EXPECT_EQ(seriesText(home.session(), Series::PG), QString::fromUtf8("PG&Mes&"));
    ASSERT_EQ(dialogs.entries().size(), 1u);
    EXPECT_EQ(dialogs.entries()[0].icon, Dialogs::Icon::Exclamation);
    EXPECT_EQ(dialogs.entries()[0].text,
              QStringLiteral("Las numeraciones se han guardado, pero el prefijo de ODT (ODT08), "
                             "PG (PG03) termina en una cifra: sus números no seguirán la cuenta y "
                             "empezarán siempre en 1. Termine la serie en una letra o en \"/\" "
                             "(por ejemplo \"ODT&Año&/&\")."));

    // A failed write keeps the series in memory and the typed text.
    dialogs.clear();
    const QStringList saved = home.session().series();
    ASSERT_TRUE(QFile::remove(home.file("conf.fpl")));
    ASSERT_TRUE(QDir(home.folder()).mkdir("conf.fpl"));
    control<QLineEdit>(screen, "TxtAlb")->setText(QStringLiteral("VR&"));
    click(screen, "CmdGuardar");
    EXPECT_EQ(home.session().series(), saved);
    EXPECT_EQ(control<QLineEdit>(screen, "TxtAlb")->text(), QStringLiteral("VR&"));
    ASSERT_EQ(dialogs.entries().size(), 1u);
    EXPECT_EQ(dialogs.entries()[0].icon, Dialogs::Icon::Critical);
    EXPECT_TRUE(dialogs.entries()[0].text.startsWith(
        QStringLiteral("No se han podido guardar las numeraciones en ")));

    click(screen, "Command6");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    EXPECT_TRUE(caller.isEnabled());
}

}  // namespace
