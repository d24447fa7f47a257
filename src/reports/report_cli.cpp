#include "reports/report_cli.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <memory>

#include "core/program_folders.h"
#include "core/session.h"
#include "reports/informes.h"
#include "reports/list_export.h"
#include "reports/list_table.h"
#include "reports/report_engine.h"

namespace torvane::reports {

namespace {

void err(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

int usage(const QString& problem) {
    err(problem);
    err(QStringLiteral(
        "Uso: torvane report INFORME.rpt --db FICHERO.erm [--formula FORMULA] "
        "[--home CARPETA] --pdf SALIDA.pdf | --csv SALIDA.csv | --xlsx SALIDA.xlsx"));
    return 2;
}

}  // namespace

int runReportCommand(const QStringList& args) {
    QString name, db, formula, pdf, home, csv, xlsx;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&](QString* into) {
            if (i + 1 >= args.size()) return false;
            *into = args[++i];
            return true;
        };
        if (a == QLatin1String("--db")) {
            if (!value(&db)) return usage(QStringLiteral("Falta el fichero tras --db."));
        } else if (a == QLatin1String("--formula")) {
            if (!value(&formula)) return usage(QStringLiteral("Falta la fórmula tras --formula."));
        } else if (a == QLatin1String("--pdf")) {
            if (!value(&pdf)) return usage(QStringLiteral("Falta el fichero tras --pdf."));
        } else if (a == QLatin1String("--csv")) {
            if (!value(&csv)) return usage(QStringLiteral("Falta el fichero tras --csv."));
        } else if (a == QLatin1String("--xlsx")) {
            if (!value(&xlsx)) return usage(QStringLiteral("Falta el fichero tras --xlsx."));
        } else if (a == QLatin1String("--home")) {
            if (!value(&home)) return usage(QStringLiteral("Falta la carpeta tras --home."));
        } else if (a.startsWith(QLatin1String("--"))) {
            return usage(QStringLiteral("Opción desconocida: %1").arg(a));
        } else if (name.isEmpty()) {
            name = a;
        } else {
            return usage(QStringLiteral("Sobra «%1».").arg(a));
        }
    }
    if (name.isEmpty()) return usage(QStringLiteral("Falta el nombre del informe."));
    if (db.isEmpty()) return usage(QStringLiteral("Falta --db con la base de datos."));
    if (pdf.isEmpty() && csv.isEmpty() && xlsx.isEmpty())
        return usage(QStringLiteral("Falta --pdf, --csv o --xlsx con el fichero de salida."));

    // Text measurement needs a GUI application; without a display use offscreen.
    // The arguments must outlive the application object, so they are declared first.
    int argc = 1;
    char arg0[] = "torvane";
    char* argv[] = {arg0, nullptr};
    std::unique_ptr<QGuiApplication> ownApp;
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        ownApp = std::make_unique<QGuiApplication>(argc, argv);
    }
    if (home.isEmpty()) home = defaultProgramFolder(QCoreApplication::applicationDirPath());
    Session session(home);
    QString reason;
    // A report only reads: the file is opened read-only and stays exactly as it was.
    if (!session.openDatabase(db, &reason, Database::Mode::ReadOnly)) {
        err(QStringLiteral("No se puede abrir la base de datos \"%1\": %2").arg(db, reason));
        return 1;
    }
    ReportEngine engine(session.db(), reportFolders(session), session.today());
    const ReportEngine::Result result = engine.render(name, formula);
    if (!result.report) {
        err(result.error);
        return 1;
    }
    if (!pdf.isEmpty() && !writePdf(*result.report, pdf, &reason)) {
        err(QStringLiteral("No se puede guardar el PDF \"%1\": %2.").arg(pdf, reason));
        return 1;
    }
    if ((!csv.isEmpty() || !xlsx.isEmpty()) && !result.report->table) {
        err(QStringLiteral("El informe \"%1\" no es un listado y no se puede exportar.")
                .arg(result.report->name));
        return 1;
    }
    using Writer = bool (*)(const ListTable&, const QString&, QString*);
    for (const auto& [out, write] :
         {std::pair<QString, Writer>{csv, writeCsv}, {xlsx, writeXlsx}}) {
        if (out.isEmpty()) continue;
        if (!write(*result.report->table, out, &reason)) {
            err(QStringLiteral("No se puede guardar el fichero \"%1\": %2.").arg(out, reason));
            return 1;
        }
    }
    return 0;
}

}  // namespace torvane::reports
