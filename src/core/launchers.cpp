#include "core/launchers.h"

#include <QDir>
#include <QFileInfo>

#include "core/settings_file.h"

namespace torvane {

QStringList calculatorCandidates() {
    return {QStringLiteral("gnome-calculator"),
            QStringLiteral("kcalc"),
            QStringLiteral("galculator"),
            QStringLiteral("mate-calc"),
            QStringLiteral("qalculate-gtk"),
            QStringLiteral("qalculate-qt"),
            QStringLiteral("xcalc")};
}

void launchCalculator(Dialogs& dialogs, ProgramLauncher& launcher) {
    for (const QString& name : calculatorCandidates()) {
        const QString path = launcher.findExecutable(name);
        if (path.isEmpty()) continue;
        if (!launcher.startProgram(path, {}))
            dialogs.exclamation(
                QStringLiteral("No se ha podido iniciar la calculadora %1.").arg(path));
        return;
    }
    dialogs.exclamation(
        QStringLiteral("No hay ninguna calculadora instalada. Instale una de estas: %1.")
            .arg(calculatorCandidates().join(QStringLiteral(", "))));
}

void launchInternet(Dialogs& dialogs, ProgramLauncher& launcher) {
    if (!launcher.openUrl(kInternetAddress))
        dialogs.exclamation(
            QStringLiteral("No se ha podido abrir el navegador de Internet con la página %1.")
                .arg(kInternetAddress));
}

bool isAcceptedProgram(const QString& path) {
    if (path.endsWith(QLatin1String(".exe")) || path.endsWith(QLatin1String(".EXE"))) return true;
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

namespace {

void start(Dialogs& dialogs, ProgramLauncher& launcher, const QString& path) {
    if (!launcher.startProgram(path, {}))
        dialogs.exclamation(QStringLiteral("No se ha podido iniciar el programa:\n%1")
                                .arg(QDir::toNativeSeparators(path)));
}

}  // namespace

void launchOutsideProgram(Session& session, Dialogs& dialogs, ProgramLauncher& launcher,
                          const OutsideProgram& program) {
    const QString pathFile = session.programFile(program.pathFile);
    if (QFileInfo::exists(pathFile)) {
        const QString stored = readFirstField(pathFile).value_or(QString());
        if (!stored.isEmpty() && QFileInfo(stored).isFile()) {
            start(dialogs, launcher, stored);
            return;
        }
        // The program was moved or removed: say so and let the user point to it again.
        if (!stored.isEmpty())
            dialogs.exclamation(
                QStringLiteral("No se encuentra el programa:\n%1\nIndique dónde está instalado.")
                    .arg(QDir::toNativeSeparators(stored)));
    }

    // Linux programs carry no extension, so every file can be picked besides *.exe.
    const QString chosen = dialogs.openFile(
        program.dialogTitle, kExecutableFilter + QStringLiteral("|Todos los archivos (*)|*"));
    if (chosen.isEmpty() || !isAcceptedProgram(chosen)) return;
    QString error;
    if (!writeSettingsFile(pathFile, {chosen}, &error))
        dialogs.exclamation(QStringLiteral("No se ha podido guardar la ruta del programa en %1.")
                                .arg(QDir::toNativeSeparators(pathFile)));
    start(dialogs, launcher, chosen);
}

}  // namespace torvane
