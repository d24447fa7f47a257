#pragma once

// The program as main builds it, for the start-up and import tests.
#include <QFile>

#include "app/inicial2.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "core/database_setup.h"
#include "masters/company_data.h"
#include "masters/datos_empresa.h"
#include "support/file_bytes.h"
#include "support/legacy_databases.h"
#include "support/scripted_dialogs.h"
#include "support/temp_home.h"
#include "support/test_services.h"

namespace torvane::testing {

const QString kOpenTitle = QStringLiteral("Abrir base de datos");

inline CompanyData company(const QString& name) {
    return {{"Nombre", name},          {"Nif", "B12345678"},
            {"Titular", "JUAN PEREZ"}, {"Direccion", "C/ MAYOR 3"},
            {"CP", "28001"},           {"Localidad", "MADRID"},
            {"Provincia", "MADRID"},   {"Telefono", "915551234"},
            {"Fax", "915551235"},      {"IVA", "16"},
            {"Registro", "RI-1234"}};
}

// A program folder with the main window and the start-up form, as main builds them.
struct Program {
    TempHome home{false};
    TestServices services;
    ScriptedDialogs& dialogs = services.scripted;
    Menu menu{home.session(), services};
    int quits = 0;
    Inicial inicial{home.session(), dialogs, menu, [this] { ++quits; }};

    Session& session() { return home.session(); }

    // A database file in the folder, in a format, with or without its company row.
    QString database(const QString& name, OldFormat format = OldFormat::Current,
                     const QString& companyName = {}) {
        const QString path = home.file(name);
        makeDatabaseInFormat(path, format);
        if (!companyName.isNull()) {
            Database db;
            EXPECT_TRUE(db.open(path));
            EXPECT_TRUE(saveCompanyData(db, company(companyName)));
        }
        return path;
    }
    void pointRutaAt(const QString& path) { ASSERT_TRUE(writeRuta(session(), path)); }
    QByteArray ruta() { return fileBytes(home.file("ruta.fpl")); }
    bool rutaExists() { return QFile::exists(home.file("ruta.fpl")); }
    static QByteArray rutaFor(const QString& path) { return "\"" + path.toLatin1() + "\"\r\n"; }

    // The program works on `path`: session, connection, status bar and ruta.fpl agree.
    void expectOn(const QString& path, const QByteArray& rutaBytes) {
        EXPECT_EQ(session().databasePath(), path);
        EXPECT_EQ(session().db().path(), path);
        EXPECT_EQ(menu.panel(1)->text(), path);
        EXPECT_EQ(ruta(), rutaBytes);
    }

    bool dialogShown() { return inicial.dialog() && inicial.dialog()->isVisible(); }
    bool companyShown() { return inicial.companyScreen() && inicial.companyScreen()->isVisible(); }

    // Normal start on a database with company data, the main window up.
    QString startOn(const QString& name, const QString& companyName) {
        const QString path = database(name, OldFormat::Current, companyName);
        pointRutaAt(path);
        inicial.StartUp();
        EXPECT_TRUE(menu.isVisible());
        dialogs.clear();
        return path;
    }

    void copyTemplate() {
        QFile::remove(home.file("Nueva"));
        ASSERT_TRUE(QFile::copy(TempHome::builtTemplate(), home.file("Nueva")));
    }
};

}  // namespace torvane::testing
