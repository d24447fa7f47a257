#include "reports/informes.h"

#include <QCoreApplication>

#include "core/program_folders.h"
#include "core/services.h"
#include "core/session.h"
#include "reports/report_definition.h"
#include "reports/report_engine.h"
#include "reports/report_output.h"

namespace torvane::reports {

QStringList reportFolders(const Session& session) {
    QStringList folders{session.programFolder()};
    if (QCoreApplication::instance()) {
        const QString exe = QCoreApplication::applicationDirPath();
        if (!folders.contains(exe)) folders << exe;
        // Installed, the shipped definitions are in the shared data folder.
        const QString data = installedDataFolder(exe);
        if (!data.isEmpty()) folders << data;
    }
    return folders;
}

bool printReport(Session& session, Services& services, const QString& file, const QString& formula,
                 bool preview) {
    Dialogs& dialogs = services.dialogs();
    const QString name = reportFileName(file);
    if (!session.hasDatabase()) {
        dialogs.critical(
            QStringLiteral("No hay ninguna base de datos abierta para imprimir el informe \"%1\".")
                .arg(name));
        return false;
    }
    ReportEngine engine(session.db(), reportFolders(session), session.today());
    ReportOutput& output = services.reportOutput();
    if (preview) {
        // The first page is laid out here, so a report that cannot be made says so before
        // any window opens; the preview lays out the rest.
        ReportSource source = engine.source(file, formula);
        QString error;
        if (!source.first(&error)) {
            dialogs.critical(error);
            return false;
        }
        output.preview(source, dialogs);
        return true;
    }
    const ReportEngine::Result result = engine.render(file, formula);
    if (!result.report) {
        dialogs.critical(result.error);
        return false;
    }
    return printRendered(services, *result.report, name);
}

bool printRendered(Services& services, const RenderedReport& report, const QString& name) {
    Dialogs& dialogs = services.dialogs();
    ReportOutput& output = services.reportOutput();
    const QString printer = output.defaultPrinter();
    if (printer.isEmpty()) {
        if (!dialogs.question(QStringLiteral("No hay ninguna impresora instalada.\n\n¿Desea "
                                             "guardar el informe \"%1\" como PDF?")
                                  .arg(name)))
            return false;
        QString path = dialogs.saveFile(QStringLiteral("Guardar el informe como PDF"),
                                        QStringLiteral("Documentos PDF (*.pdf)|*.pdf"));
        if (path.isEmpty()) return false;
        if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            path += QStringLiteral(".pdf");
        QString reason;
        if (!writePdf(report, path, &reason)) {
            dialogs.critical(
                QStringLiteral("No se puede guardar el PDF \"%1\": %2.").arg(path, reason));
            return false;
        }
        return true;
    }
    QString reason;
    if (!output.print(report, &reason)) {
        dialogs.critical(QStringLiteral("No se puede imprimir el informe \"%1\" en la impresora "
                                        "\"%2\": %3.")
                             .arg(name, printer, reason));
        return false;
    }
    return true;
}

}  // namespace torvane::reports

namespace torvane::Informes {

using reports::printReport;

bool ImprimirInforme(Session& session, Services& services, const QString& formula,
                     const QString& file, bool preview) {
    return printReport(session, services, file, formula, preview);
}

bool ImprimirInformeSimple(Session& session, Services& services, const QString& formula,
                           const QString& file, bool preview) {
    return printReport(session, services, file, formula, preview);
}

bool ImprimirFacturaODT(Session& session, Services& services, const QString& numberOrFormula,
                        const QString& file, bool preview) {
    const bool severalOrders = reports::reportFileName(file).compare(
                                   QLatin1String("QARVOFACODT2.rpt"), Qt::CaseInsensitive) == 0;
    const QString formula =
        severalOrders ? numberOrFormula : QStringLiteral("{ODTS.NODT} ='") + numberOrFormula + '\'';
    return printReport(session, services, file, formula, preview);
}

bool ImprimirAlbaranODT(Session& session, Services& services, const QString& formula,
                        const QString& file) {
    return printReport(session, services, file, formula, true);
}

bool ImprimirHojaODT(Session& session, Services& services, const QString& number,
                     const QString& file, bool preview) {
    return printReport(session, services, file, QStringLiteral("{ODTS.NODT}= '") + number + '\'',
                       preview);
}

bool VerListado(Session& session, Services& services, const QString& file) {
    return printReport(session, services, file, QString(), true);
}

}  // namespace torvane::Informes
