#pragma once

#include <QString>

namespace torvane {

// Where the program finds its files. Run from a build folder (or copied anywhere), everything
// lives beside the executable. Installed from the package, the executable is in <prefix>/bin,
// the report definitions and the template "Nueva" in <prefix>/share/torvane (read-only), and
// the settings files in the user's data folder.

// <prefix>/share/torvane when the program runs installed; empty otherwise.
QString installedDataFolder(const QString& executableFolder);
// The folder of the settings files: the executable's, or when installed the user's data
// folder (QStandardPaths::AppDataLocation, created when missing).
QString defaultProgramFolder(const QString& executableFolder);
// Puts a copy of the shipped template in the program folder when it has none or another
// one, so that new databases are made from the template of the installed version.
// false with *reason when it cannot.
bool provideTemplate(const QString& programFolder, const QString& dataFolder, QString* reason);

}  // namespace torvane
