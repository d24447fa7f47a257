#pragma once

#include <QString>
#include <QStringList>

namespace torvane {
class Services;
class Session;
}  // namespace torvane

// The printing routines every screen calls. File arguments are written as the
// screens write them ("\QARVOLFAC.rpt", "/qarvoodtcli.rpt" or a full path); the
// file is looked up in the program folder without regard to case. Problems
// (missing or damaged report, bad formula, no printer) are told through
// services' dialogs, and reports go to its report output. Each returns true when the report was
// shown, printed or saved.
namespace torvane::Informes {

bool ImprimirInforme(Session& session, Services& services, const QString& formula,
                     const QString& file, bool preview);
bool ImprimirInformeSimple(Session& session, Services& services, const QString& formula,
                           const QString& file, bool preview);
// For "\QARVOFACODT2.rpt" the first argument is the whole selection formula;
// for any other file it is a work-order number.
bool ImprimirFacturaODT(Session& session, Services& services, const QString& numberOrFormula,
                        const QString& file, bool preview);
// Always previews.
bool ImprimirAlbaranODT(Session& session, Services& services, const QString& formula,
                        const QString& file);
bool ImprimirHojaODT(Session& session, Services& services, const QString& number,
                     const QString& file, bool preview);
// A whole listing, always previewed.
bool VerListado(Session& session, Services& services, const QString& file);

}  // namespace torvane::Informes

namespace torvane::reports {

struct RenderedReport;

// Folders searched for report files: the program folder, then the
// executable's folder (where the build puts them).
QStringList reportFolders(const Session& session);

// The one path all routines share.
bool printReport(Session& session, Services& services, const QString& file, const QString& formula,
                 bool preview);

// Sends pages already laid out to the default printer; with no printer installed it
// offers to save them as PDF. name is the report as messages call it. False when nothing
// was printed or saved (after saying why).
bool printRendered(Services& services, const RenderedReport& report, const QString& name);

}  // namespace torvane::reports
