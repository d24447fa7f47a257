#pragma once

#include <QStringList>

namespace torvane::import {

// "torvane import OLD.erm --out NEW.erm": imports an older file and prints the summary.
// args are the words after "import"; programFolder holds the template "Nueva". Returns the
// exit code: 0 imported, 1 failed, 2 wrong arguments.
int runImportCommand(const QStringList& args, const QString& programFolder);

}  // namespace torvane::import
