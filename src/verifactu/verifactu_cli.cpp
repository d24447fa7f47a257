#include "verifactu/verifactu_cli.h"

#include <QDate>
#include <QXmlStreamWriter>

#include "data/database.h"
#include "verifactu/records.h"

namespace torvane::verifactu {

namespace {

int usage(QTextStream& err, const QString& problem) {
    err << problem << '\n'
        << "Uso: torvane verifactu --check --db FICHERO.erm\n"
           "     torvane verifactu --export --db FICHERO.erm --from FECHA --to FECHA\n";
    err.flush();
    return 2;
}

QDate readDate(const QString& text) {
    QDate d = QDate::fromString(text, QStringLiteral("dd/MM/yyyy"));
    if (!d.isValid()) d = QDate::fromString(text, Qt::ISODate);
    return d;
}

const char* kSum =
    "https://www2.agenciatributaria.gob.es/static_files/common/internet/dep/aplicaciones/es/aeat/"
    "tike/cont/ws/SuministroLR.xsd";
const char* kSf =
    "https://www2.agenciatributaria.gob.es/static_files/common/internet/dep/aplicaciones/es/aeat/"
    "tike/cont/ws/SuministroInformacion.xsd";

}  // namespace

QString exportXml(const QString& emisor, const QString& nombre, const std::vector<Record>& records) {
    QString xml;
    QXmlStreamWriter w(&xml);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeNamespace(QString::fromLatin1(kSum), QStringLiteral("sum"));
    w.writeNamespace(QString::fromLatin1(kSf), QStringLiteral("sf"));
    const QString sum = QString::fromLatin1(kSum), sf = QString::fromLatin1(kSf);
    w.writeStartElement(sum, QStringLiteral("RegFactuSistemaFacturacion"));
    w.writeStartElement(sum, QStringLiteral("Cabecera"));
    w.writeStartElement(sf, QStringLiteral("ObligadoEmision"));
    w.writeTextElement(sf, QStringLiteral("NombreRazon"), nombre);
    w.writeTextElement(sf, QStringLiteral("NIF"), emisor);
    w.writeEndElement();
    w.writeEndElement();
    for (const Record& r : records) {
        const bool alta = r.tipo == QLatin1String("alta");
        w.writeStartElement(sum, QStringLiteral("RegistroFactura"));
        w.writeStartElement(sf, alta ? QStringLiteral("RegistroAlta")
                                     : QStringLiteral("RegistroAnulacion"));
        w.writeTextElement(sf, QStringLiteral("IDVersion"), QStringLiteral("1.0"));
        w.writeStartElement(sf, QStringLiteral("IDFactura"));
        const QString suffix = alta ? QString() : QStringLiteral("Anulada");
        w.writeTextElement(sf, QStringLiteral("IDEmisorFactura") + suffix, r.emisor);
        w.writeTextElement(sf, QStringLiteral("NumSerieFactura") + suffix, r.numSerie);
        w.writeTextElement(sf, QStringLiteral("FechaExpedicionFactura") + suffix, r.fecha);
        w.writeEndElement();
        if (alta) {
            w.writeTextElement(sf, QStringLiteral("NombreRazonEmisor"), nombre);
            w.writeTextElement(sf, QStringLiteral("TipoFactura"), r.tipoFactura);
            w.writeTextElement(sf, QStringLiteral("CuotaTotal"), r.cuotaTotal);
            w.writeTextElement(sf, QStringLiteral("ImporteTotal"), r.importeTotal);
        }
        w.writeStartElement(sf, QStringLiteral("Encadenamiento"));
        if (r.huellaAnterior.isEmpty()) {
            w.writeTextElement(sf, QStringLiteral("PrimerRegistro"), QStringLiteral("S"));
        } else {
            w.writeStartElement(sf, QStringLiteral("RegistroAnterior"));
            w.writeTextElement(sf, QStringLiteral("Huella"), r.huellaAnterior);
            w.writeEndElement();
        }
        w.writeEndElement();
        w.writeTextElement(sf, QStringLiteral("FechaHoraHusoGenRegistro"), r.fechaHoraHuso);
        w.writeTextElement(sf, QStringLiteral("TipoHuella"), QStringLiteral("01"));
        w.writeTextElement(sf, QStringLiteral("Huella"), r.huella);
        w.writeEndElement();
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return xml;
}

int runCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    bool check = false, exporting = false;
    QString db, from, to;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&](QString* into) {
            if (i + 1 >= args.size()) return false;
            *into = args[++i];
            return true;
        };
        if (a == QLatin1String("--check")) {
            check = true;
        } else if (a == QLatin1String("--export")) {
            exporting = true;
        } else if (a == QLatin1String("--db")) {
            if (!value(&db)) return usage(err, QStringLiteral("Falta el fichero tras --db."));
        } else if (a == QLatin1String("--from")) {
            if (!value(&from)) return usage(err, QStringLiteral("Falta la fecha tras --from."));
        } else if (a == QLatin1String("--to")) {
            if (!value(&to)) return usage(err, QStringLiteral("Falta la fecha tras --to."));
        } else {
            return usage(err, QStringLiteral("Opción desconocida: %1").arg(a));
        }
    }
    if (check == exporting) return usage(err, QStringLiteral("Indique --check o --export."));
    if (db.isEmpty()) return usage(err, QStringLiteral("Falta --db con la base de datos."));
    QDate fromDate, toDate;
    if (exporting) {
        fromDate = readDate(from);
        toDate = readDate(to);
        if (!fromDate.isValid() || !toDate.isValid())
            return usage(err, QStringLiteral("Las fechas de --from y --to no son válidas."));
    }
    Database database;
    QString reason;
    if (!database.open(db, &reason, Database::Mode::ReadOnly)) {
        err << QStringLiteral("No se puede abrir la base de datos \"%1\": %2").arg(db, reason)
            << '\n';
        err.flush();
        return 2;
    }
    const std::vector<Record> records = allRecords(database);
    if (check) {
        if (const auto broken = checkChain(records)) {
            out << broken->reason << '\n';
            out.flush();
            return 1;
        }
        out << QStringLiteral("Cadena correcta: %1 registros.").arg(records.size()) << '\n';
        out.flush();
        return 0;
    }
    std::vector<Record> chosen;
    for (const Record& r : records) {
        const QDate d = QDate::fromString(r.fecha, QStringLiteral("dd-MM-yyyy"));
        if (d.isValid() && d >= fromDate && d <= toDate) chosen.push_back(r);
    }
    const auto company = database.firstRow(
        QStringLiteral("SELECT Nombre, Nif FROM DatosEmpresa ORDER BY Id LIMIT 1"));
    out << exportXml(company ? company->value(QStringLiteral("Nif")).toString().trimmed()
                             : QString(),
                     company ? company->value(QStringLiteral("Nombre")).toString() : QString(),
                     chosen);
    out.flush();
    return 0;
}

}  // namespace torvane::verifactu
