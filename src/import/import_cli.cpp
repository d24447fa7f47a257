#include "import/import_cli.h"

#include <QDir>
#include <QTextStream>
#include <cstdio>

#include "import/importer.h"

namespace torvane::import {

int runImportCommand(const QStringList& args, const QString& programFolder) {
    QTextStream out(stdout), err(stderr);
    QString source, target;
    bool wrong = false;
    for (int i = 0; i < args.size() && !wrong; ++i) {
        if (args[i] == QLatin1String("--out") && i + 1 < args.size())
            target = args[++i];
        else if (args[i] == QLatin1String("--home") && i + 1 < args.size())
            ++i;
        else if (source.isEmpty() && !args[i].startsWith(QLatin1String("--")))
            source = args[i];
        else
            wrong = true;
    }
    if (wrong || source.isEmpty() || target.isEmpty()) {
        err << "Uso: torvane import ANTIGUA.erm --out NUEVA.erm\n";
        return 2;
    }
    ImportOptions options;
    options.templatePath = QDir(programFolder).filePath(QStringLiteral("Nueva"));
    options.progress = [&](const QString& table, int index, int count) {
        err << QStringLiteral("Importando %1 (%2 de %3)\n").arg(table).arg(index).arg(count);
        err.flush();
    };
    try {
        const ImportReport report = importJetFile(source, target, options);
        out << report.summary() << '\n';
        return 0;
    } catch (const ImportError& e) {
        err << e.message() << '\n';
        return 1;
    }
}

}  // namespace torvane::import
