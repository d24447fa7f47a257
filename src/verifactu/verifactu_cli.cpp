#include "verifactu/verifactu_cli.h"

#include <QDate>
#include <QXmlStreamWriter>

#include "data/database.h"
#include "verifactu/records.h"
#include "verifactu/send_client.h"

#ifdef Q_OS_UNIX
#include <termios.h>
#include <unistd.h>
#endif

namespace torvane::verifactu {

namespace {

int usage(QTextStream& err, const QString& problem) {
    err << problem << '\n'
        << "Uso: torvane verifactu --check --db FICHERO.erm\n"
           "     torvane verifactu --export --db FICHERO.erm --from FECHA --to FECHA\n"
           "     torvane verifactu --send --db FICHERO.erm --endpoint URL --cert FICHERO.p12 "
           "[--ca FICHERO.pem]\n";
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

// The certificate's password: TORVANE_CERT_PASSWORD, else asked on the terminal unseen.
QString certificatePassword(QTextStream& err) {
    if (qEnvironmentVariableIsSet("TORVANE_CERT_PASSWORD"))
        return qEnvironmentVariable("TORVANE_CERT_PASSWORD");
    err << "Contraseña del certificado: ";
    err.flush();
#ifdef Q_OS_UNIX
    termios old{};
    const bool tty = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &old) == 0;
    if (tty) {
        termios quiet = old;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
#endif
    QTextStream in(stdin);
    const QString password = in.readLine();
#ifdef Q_OS_UNIX
    if (tty) tcsetattr(STDIN_FILENO, TCSANOW, &old);
#endif
    err << '\n';
    err.flush();
    return password;
}

// 0 when everything sent was accepted, 1 when something was rejected or is still queued,
// 2 when the certificate or the address cannot be used.
int send(Database& database, const SendConfig& config, QTextStream& out) {
    const SendOutcome sent = sendPending(database, config);
    for (const QString& line : sent.messages()) out << line << '\n';
    out.flush();
    if (sent.unusableConfig) return 2;
    return sent.rejected > 0 || sent.pending > 0 ? 1 : 0;
}

}  // namespace

QString exportXml(const QString& emisor, const QString& nombre,
                  const std::vector<Record>& records) {
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
        w.writeStartElement(
            sf, alta ? QStringLiteral("RegistroAlta") : QStringLiteral("RegistroAnulacion"));
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
    bool check = false, exporting = false, sending = false;
    QString db, from, to, endpoint, cert, ca;
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
        } else if (a == QLatin1String("--send")) {
            sending = true;
        } else if (a == QLatin1String("--endpoint")) {
            if (!value(&endpoint))
                return usage(err, QStringLiteral("Falta la dirección tras --endpoint."));
        } else if (a == QLatin1String("--cert")) {
            if (!value(&cert))
                return usage(err, QStringLiteral("Falta el certificado tras --cert."));
        } else if (a == QLatin1String("--ca")) {
            if (!value(&ca)) return usage(err, QStringLiteral("Falta el fichero tras --ca."));
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
    if (int(check) + int(exporting) + int(sending) != 1)
        return usage(err, QStringLiteral("Indique --check, --export o --send."));
    if (db.isEmpty()) return usage(err, QStringLiteral("Falta --db con la base de datos."));
    if (sending && (endpoint.isEmpty() || cert.isEmpty()))
        return usage(err, QStringLiteral("Para enviar hacen falta --endpoint y --cert."));
    QDate fromDate, toDate;
    if (exporting) {
        fromDate = readDate(from);
        toDate = readDate(to);
        if (!fromDate.isValid() || !toDate.isValid())
            return usage(err, QStringLiteral("Las fechas de --from y --to no son válidas."));
    }
    Database database;
    QString reason;
    if (!database.open(db, &reason,
                       sending ? Database::Mode::ReadWrite : Database::Mode::ReadOnly)) {
        err << QStringLiteral("No se puede abrir la base de datos \"%1\": %2").arg(db, reason)
            << '\n';
        err.flush();
        return 2;
    }
    if (sending) {
        SendConfig config;
        config.endpoint = endpoint;
        config.certificatePath = cert;
        config.trustedAuthorities = ca;
        config.password = certificatePassword(err);
        return send(database, config, out);
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
    out << exportXml(
        company ? company->value(QStringLiteral("Nif")).toString().trimmed() : QString(),
        company ? company->value(QStringLiteral("Nombre")).toString() : QString(), chosen);
    out.flush();
    return 0;
}

}  // namespace torvane::verifactu
