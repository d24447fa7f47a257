// torvane-gen: writes a consistent workshop database for demos and benchmarks.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

#include "core/settings_file.h"
#include "data/database.h"
#include "generator.h"

using namespace torvane;

namespace {
int failWith(const QString& text) {
    std::fprintf(stderr, "torvane-gen: %s\n", qPrintable(text));
    return 1;
}
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("torvane-gen"));
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Genera una base de datos de taller coherente."));
    p.addHelpOption();
    p.addOption({QStringLiteral("scale"), QStringLiteral("demo, large o un numero de clientes."),
                 QStringLiteral("scale"), QStringLiteral("demo")});
    p.addOption({QStringLiteral("seed"),
                 QStringLiteral("Semilla (la misma semilla da el mismo archivo)."),
                 QStringLiteral("seed"), QStringLiteral("1")});
    p.addOption({QStringLiteral("out"), QStringLiteral("Archivo .erm a escribir."),
                 QStringLiteral("file")});
    p.addOption({QStringLiteral("today"),
                 QStringLiteral("Ultimo dia de actividad, AAAA-MM-DD (por defecto, hoy)."),
                 QStringLiteral("date")});
    p.addOption({QStringLiteral("years"),
                 QStringLiteral("Años de actividad (por defecto, los de la escala)."),
                 QStringLiteral("years")});
    p.addOption({QStringLiteral("write-ruta"),
                 QStringLiteral("Escribe ruta.fpl en esa carpeta apuntando al archivo generado."),
                 QStringLiteral("folder")});
    p.addOption({QStringLiteral("check"),
                 QStringLiteral("Comprueba la coherencia de un archivo ya generado y termina."),
                 QStringLiteral("file")});
    p.process(app);

    if (p.isSet(QStringLiteral("check"))) {
        Database db;
        QString reason;
        if (!db.open(p.value(QStringLiteral("check")), &reason)) return failWith(reason);
        const QStringList problems = gen::checkConsistency(db, 5);
        for (const QString& line : problems) std::printf("%s\n", qPrintable(line));
        std::printf("%s\n", problems.isEmpty() ? "coherente" : "con errores");
        return problems.isEmpty() ? 0 : 2;
    }

    const auto scale = gen::scaleNamed(p.value(QStringLiteral("scale")));
    if (!scale)
        return failWith(QStringLiteral("escala desconocida: ") + p.value(QStringLiteral("scale")));
    gen::Options o;
    o.scale = *scale;
    bool ok = false;
    o.seed = p.value(QStringLiteral("seed")).toULongLong(&ok);
    if (!ok) return failWith(QStringLiteral("semilla no valida"));
    o.today = p.isSet(QStringLiteral("today"))
                  ? QDate::fromString(p.value(QStringLiteral("today")), Qt::ISODate)
                  : QDate::currentDate();
    if (!o.today.isValid()) return failWith(QStringLiteral("fecha no valida"));
    if (p.isSet(QStringLiteral("years"))) {
        o.scale.years = p.value(QStringLiteral("years")).toInt(&ok);
        if (!ok || o.scale.years < 1) return failWith(QStringLiteral("años no validos"));
    }
    if (!p.isSet(QStringLiteral("out"))) return failWith(QStringLiteral("falta --out"));
    const QString out = QFileInfo(p.value(QStringLiteral("out"))).absoluteFilePath();

    QElapsedTimer timer;
    timer.start();
    QString error;
    gen::Counts counts;
    if (!gen::generateDatabase(out, o, &error, &counts)) return failWith(error);
    std::printf("%s: %s (%.1f s)\n", qPrintable(out), qPrintable(counts.summary()),
                timer.elapsed() / 1000.0);

    if (p.isSet(QStringLiteral("write-ruta"))) {
        const QString ruta =
            QDir(p.value(QStringLiteral("write-ruta"))).filePath(QStringLiteral("ruta.fpl"));
        if (!writeSettingsFile(ruta, {QDir::toNativeSeparators(out)}, &error))
            return failWith(error);
    }
    return 0;
}
