#pragma once

#include <QString>
#include <QStringList>

#include "core/dialogs.h"
#include "core/session.h"

namespace torvane {

// Starting outside programs; tests replace it with a recording one.
class ProgramLauncher {
  public:
    virtual ~ProgramLauncher() = default;
    // Starts the program detached from ours; false when it could not be started.
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
    // Opens the address in the desktop's default browser.
    virtual bool openUrl(const QString& url) = 0;
    // Full path of an installed program found on PATH, or empty.
    virtual QString findExecutable(const QString& name) = 0;
};

// The page "Internet" opens.
inline const QString kInternetAddress = QStringLiteral("https://www.google.es/");

// The desktop calculators tried in order.
QStringList calculatorCandidates();

void launchCalculator(Dialogs& dialogs, ProgramLauncher& launcher);
void launchInternet(Dialogs& dialogs, ProgramLauncher& launcher);

// A program whose path the user chooses once and that is kept in a path file.
struct OutsideProgram {
    QString pathFile;
    QString dialogTitle;
};
inline const OutsideProgram kAutodata{QStringLiteral("Autodata.fpl"),
                                      QStringLiteral("Abrir Autodata")};
inline const OutsideProgram kTasacciones{QStringLiteral("Tasacciones.fpl"),
                                         QStringLiteral("Abrir Guia de Tasacciones")};
inline const QString kExecutableFilter = QStringLiteral("Archivos ejecutable (*.exe)|*.exe");

// A chosen file counts as a program when it ends in ".exe"/".EXE" (a path
// file may name a Windows program) or is a file with the execute permission.
bool isAcceptedProgram(const QString& path);

// Starts the program of the path file; when there is none yet, asks for it
// and stores the choice.
void launchOutsideProgram(Session& session, Dialogs& dialogs, ProgramLauncher& launcher,
                          const OutsideProgram& program);

}  // namespace torvane
