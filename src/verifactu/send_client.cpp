#include "verifactu/send_client.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QUrl>
#include <algorithm>

#include "data/database.h"
#include "verifactu/settings.h"

namespace torvane::verifactu {

namespace {

const QString kNoAnswer = QStringLiteral("SinRespuesta");

QString sslReason(const QList<QSslError>& errors) {
    for (const QSslError& e : errors) {
        switch (e.error()) {
            case QSslError::CertificateExpired:
                return QStringLiteral("su certificado ha caducado");
            case QSslError::HostNameMismatch:
                return QStringLiteral("su certificado es de otro servidor");
            case QSslError::SelfSignedCertificate:
            case QSslError::SelfSignedCertificateInChain:
            case QSslError::UnableToGetLocalIssuerCertificate:
            case QSslError::UnableToVerifyFirstCertificate:
            case QSslError::CertificateUntrusted:
                return QStringLiteral("su certificado no es de una entidad de confianza");
            default:
                break;
        }
    }
    return QStringLiteral("su certificado no es válido");
}

QString networkReason(QNetworkReply::NetworkError e) {
    switch (e) {
        case QNetworkReply::ConnectionRefusedError:
            return QStringLiteral("el servidor no acepta la conexión");
        case QNetworkReply::HostNotFoundError:
            return QStringLiteral("no se encuentra el servidor");
        case QNetworkReply::TimeoutError:
        case QNetworkReply::OperationCanceledError:
            return QStringLiteral("el servidor no ha contestado a tiempo");
        case QNetworkReply::RemoteHostClosedError:
            return QStringLiteral("el servidor ha cortado la conexión");
        default:
            return QStringLiteral("error de red");
    }
}

QString stamp(const QDateTime& t) {
    return t.toOffsetFromUtc(t.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

}  // namespace

struct HttpsTransport::Tls {
    QSslConfiguration conf;
};

HttpsTransport::HttpsTransport(SendConfig config) : config_(std::move(config)) {}

QString HttpsTransport::prepare() {
    const QUrl url(config_.endpoint);
    if (!url.isValid() || url.scheme() != QLatin1String("https") || url.host().isEmpty())
        return QStringLiteral(
                   "La dirección del servicio \"%1\" no es válida: debe empezar por "
                   "https://.")
            .arg(config_.endpoint);
    QFile file(config_.certificatePath);
    if (config_.certificatePath.isEmpty() || !file.open(QIODevice::ReadOnly))
        return QStringLiteral("No se puede abrir el certificado \"%1\".")
            .arg(config_.certificatePath);
    QSslKey key;
    QSslCertificate cert;
    QList<QSslCertificate> chain;
    if (!QSslCertificate::importPkcs12(&file, &key, &cert, &chain, config_.password.toUtf8()) ||
        cert.isNull() || key.isNull())
        return QStringLiteral(
                   "No se puede leer el certificado \"%1\": la contraseña no es "
                   "correcta o el fichero no es un certificado PKCS#12.")
            .arg(config_.certificatePath);
    auto tls = std::make_shared<Tls>();
    tls->conf = QSslConfiguration::defaultConfiguration();
    tls->conf.setProtocol(QSsl::TlsV1_2OrLater);
    tls->conf.setPrivateKey(key);
    tls->conf.setLocalCertificateChain(QList<QSslCertificate>{cert} + chain);
    if (!config_.trustedAuthorities.isEmpty()) {
        const auto cas = QSslCertificate::fromPath(config_.trustedAuthorities, QSsl::Pem);
        if (cas.isEmpty())
            return QStringLiteral("No se pueden leer las entidades de confianza de \"%1\".")
                .arg(config_.trustedAuthorities);
        tls->conf.addCaCertificates(cas);
    }
    tls_ = tls;
    return {};
}

TransportReply HttpsTransport::post(const QByteArray& message) {
    TransportReply out;
    if (!tls_) {
        out.problem = prepare();
        if (!out.problem.isEmpty()) return out;
    }
    QNetworkAccessManager nam;
    QNetworkRequest request{QUrl(config_.endpoint)};
    request.setSslConfiguration(tls_->conf);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("text/xml; charset=utf-8"));
    request.setRawHeader("SOAPAction", "\"\"");
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setTransferTimeout(config_.timeoutMs);
    QNetworkReply* reply = nam.post(request, message);
    QList<QSslError> sslErrors;
    QObject::connect(reply, &QNetworkReply::sslErrors,
                     [&sslErrors](const QList<QSslError>& e) { sslErrors = e; });
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) loop.exec();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QString host = QUrl(config_.endpoint).host();
    if (status.isValid()) {
        out.reached = true;
        out.httpStatus = status.toInt();
        out.body = reply->readAll();
    } else if (reply->error() == QNetworkReply::SslHandshakeFailedError || !sslErrors.isEmpty()) {
        out.problem = QStringLiteral(
                          "No se ha podido comprobar la identidad del servidor de la "
                          "Agencia Tributaria (%1): %2. No se ha enviado nada.")
                          .arg(host, sslErrors.isEmpty() ? QStringLiteral("la conexión segura "
                                                                          "no se ha establecido")
                                                         : sslReason(sslErrors));
    } else {
        out.problem = QStringLiteral("No se ha podido conectar con la Agencia Tributaria (%1): %2.")
                          .arg(host, networkReason(reply->error()));
    }
    delete reply;
    return out;
}

// A record is pending until a verdict of the agency is stored for it; the database's
// triggers keep that list (RegistrosPendientes).
std::vector<Record> pendingRecords(Database& db) {
    if (!db.hasTable(QStringLiteral("RegistrosPendientes"))) return {};
    return selectRecords(db,
                         QStringLiteral("WHERE Id IN (SELECT IdRegistro FROM RegistrosPendientes) "
                                        "ORDER BY Id LIMIT ?"),
                         {kMaxRecordsPerMessage});
}

int pendingCount(Database& db) {
    if (!db.hasTable(QStringLiteral("RegistrosPendientes"))) return 0;
    return db.scalar(QStringLiteral("SELECT count(*) FROM RegistrosPendientes")).toInt();
}

int retryDelaySeconds(int failures) {
    if (failures <= 0) return 0;
    int delay = 60;
    for (int i = 1; i < failures && delay < 3600; ++i) delay *= 2;
    return std::min(delay, 3600);
}

int failuresInARow(Database& db) {
    if (!db.hasTable(QStringLiteral("EnviosFacturacion"))) return 0;
    return db
        .scalar(QStringLiteral("SELECT count(DISTINCT Fecha) FROM EnviosFacturacion WHERE "
                               "Estado = ? AND Id > coalesce((SELECT max(Id) FROM "
                               "EnviosFacturacion WHERE Estado <> ?), 0)"),
                {kNoAnswer, kNoAnswer})
        .toInt();
}

namespace {

// Whether the wait after attempts with no answer has passed (none after an answer).
bool retryWaitPassed(Database& db, const QDateTime& now) {
    const int failures = failuresInARow(db);
    if (failures == 0) return true;
    const QDateTime last = QDateTime::fromString(
        db.scalar(QStringLiteral("SELECT Fecha FROM EnviosFacturacion ORDER BY Id DESC LIMIT 1"))
            .toString(),
        Qt::ISODateWithMs);
    return !last.isValid() || last.secsTo(now) >= retryDelaySeconds(failures);
}

}  // namespace

bool retryDue(Database& db, const QDateTime& now) {
    return pendingCount(db) > 0 && retryWaitPassed(db, now);
}

std::optional<Recipient> recipientOf(Database& db, const Record& r) {
    if (r.tipo != QLatin1String("alta")) return std::nullopt;
    // The customer as on file when the record is sent; a tow report's invoice goes to its
    // insurer. A work-order invoice may cover several orders of one customer.
    static const struct {
        const char* origen;
        const char* sql;
    } kWhom[] = {
        {"FacturasODT",
         "SELECT c.NIF, c.Nombre, c.Apellido1 FROM ODTS o JOIN Clientes c ON c.Id_Cli = "
         "o.Id_Cli WHERE o.NFactura = ? ORDER BY o.Id_ODT LIMIT 1"},
        {"Facturas",
         "SELECT c.NIF, c.Nombre, c.Apellido1 FROM Facturas f JOIN Clientes c ON c.Id_Cli = "
         "f.Id_Cli WHERE f.Id_Fac = ? ORDER BY f.Id LIMIT 1"},
        {"Facturas",
         "SELECT a.NIF, a.Nombre, '' AS Apellido1 FROM Partes p JOIN Aseguradoras a ON "
         "a.Id_Ase = p.Id_Ase WHERE p.NFactura = ? ORDER BY p.Id LIMIT 1"},
        {"FacturasLibres",
         "SELECT c.NIF, c.Nombre, c.Apellido1 FROM FacturasLibres f JOIN Clientes c ON "
         "c.Id_Cli = f.Id_Cli WHERE f.NFactura = ? ORDER BY f.Id LIMIT 1"},
        {"Comisiones",
         "SELECT c.NIF, c.Nombre, c.Apellido1 FROM Comisiones f JOIN Clientes c ON c.Id_Cli = "
         "f.Id_Cli WHERE f.NFactura = ? ORDER BY f.Id LIMIT 1"},
    };
    for (const auto& whom : kWhom) {
        if (r.origen != QLatin1String(whom.origen)) continue;
        const auto row = db.firstRow(QString::fromLatin1(whom.sql), {r.numSerie});
        if (!row) continue;
        const auto nif = agencyNif(row->value(QStringLiteral("NIF")).toString());
        const QString name = (row->value(QStringLiteral("Nombre")).toString() + QLatin1Char(' ') +
                              row->value(QStringLiteral("Apellido1")).toString())
                                 .simplified();
        if (!nif || name.isEmpty()) return std::nullopt;
        return Recipient{*nif, name};
    }
    return std::nullopt;
}

SendOutcome sendPending(Database& db, Transport& transport, const QDateTime& now) {
    SendOutcome out;
    std::vector<Record> batch = pendingRecords(db);
    if (batch.empty()) return out;
    // One issuer per message: a change of the company's NIF starts a new one.
    const QString emisor = batch.front().emisor;
    batch.erase(std::find_if(batch.begin(), batch.end(),
                             [&](const Record& r) { return r.emisor != emisor; }),
                batch.end());
    const auto before = selectRecords(db, QStringLiteral("WHERE Id < ? ORDER BY Id DESC LIMIT 1"),
                                      {batch.front().id});
    const auto company =
        db.firstRow(QStringLiteral("SELECT Nombre FROM DatosEmpresa ORDER BY Id LIMIT 1"));
    const Issuer issuer{emisor, company
                                    ? company->value(QStringLiteral("Nombre")).toString().trimmed()
                                    : QString()};
    out.sent = int(batch.size());

    std::vector<std::optional<Recipient>> recipients;
    recipients.reserve(batch.size());
    for (const Record& r : batch) recipients.push_back(recipientOf(db, r));
    const TransportReply reply = transport.post(registrationEnvelope(
        issuer, batch, before.empty() ? std::nullopt : std::optional<Record>(before.front()),
        recipients));
    std::optional<AgencyAnswer> answer;
    QString problem = reply.problem;
    if (reply.reached) {
        answer = parseAnswer(reply.body, &problem);
        if (!answer && reply.httpStatus != 200)
            problem = QStringLiteral("La Agencia Tributaria ha contestado con un error (HTTP %1).")
                          .arg(reply.httpStatus);
        // The service failing is not a verdict on the records: they wait for the next try.
        if (answer && !answer->fault.isEmpty() && answer->serverFault) {
            problem = QStringLiteral("La Agencia Tributaria no ha podido atender el envío: %1")
                          .arg(answer->fault);
            answer.reset();
        }
    }

    struct Row {
        QString estado;
        QString respuesta;
    };
    std::vector<Row> rows(batch.size());
    std::vector<bool> used(answer ? answer->lines.size() : 0, false);
    for (size_t i = 0; i < batch.size(); ++i) {
        const Record& r = batch[i];
        Row& row = rows[i];
        if (!answer) {
            row = {kNoAnswer, problem};
            continue;
        }
        if (!answer->fault.isEmpty()) {
            row = {QStringLiteral("Incorrecto"), answer->fault};
            out.rejectedRecords.push_back({r.id, r.numSerie, {}, answer->fault});
            continue;
        }
        const LineAnswer* line = nullptr;
        for (size_t j = 0; j < answer->lines.size() && !line; ++j) {
            const LineAnswer& l = answer->lines[j];
            if (!used[j] && l.numSerie == r.numSerie &&
                (l.operacion.isEmpty() || l.operacion == operacionOf(r))) {
                used[j] = true;
                line = &l;
            }
        }
        LineAnswer own;
        if (line) {
            own = *line;
        } else if (answer->estadoEnvio == QLatin1String("Correcto") ||
                   answer->estadoEnvio == QLatin1String("Incorrecto")) {
            own.estado = answer->estadoEnvio;
        } else {
            row = {
                kNoAnswer,
                QStringLiteral("La respuesta de la Agencia Tributaria no nombra este registro.")};
            continue;
        }
        QStringList said;
        // Sent again after an answer that never arrived: the agency holds it already, and
        // its verdict on that first one stands.
        if (own.estado == QLatin1String("Incorrecto") &&
            (own.duplicado == QLatin1String("Correcta") ||
             own.duplicado == QLatin1String("AceptadaConErrores"))) {
            own.estado = own.duplicado == QLatin1String("Correcta")
                             ? QStringLiteral("Correcto")
                             : QStringLiteral("AceptadoConErrores");
            said << QStringLiteral("ya presentado");
        }
        if (!answer->csv.isEmpty()) said << QStringLiteral("CSV %1").arg(answer->csv);
        if (!own.codigo.isEmpty() || !own.descripcion.isEmpty())
            said << QStringLiteral("código %1: %2").arg(own.codigo, own.descripcion);
        row = {own.estado, said.join(QStringLiteral("; "))};
        const RejectedRecord told{r.id, r.numSerie, own.codigo, own.descripcion};
        if (own.estado == QLatin1String("Correcto")) {
            ++out.accepted;
        } else if (own.estado == QLatin1String("AceptadoConErrores")) {
            ++out.acceptedWithErrors;
            out.warnings.push_back(told);
        } else if (own.estado == QLatin1String("Incorrecto")) {
            out.rejectedRecords.push_back(told);
        } else {
            row = {kNoAnswer,
                   QStringLiteral("Estado desconocido en la respuesta: %1.").arg(own.estado)};
        }
    }
    out.rejected = int(out.rejectedRecords.size());
    out.reached = answer.has_value();
    out.problem = answer ? QString() : problem;
    out.waitSeconds = answer ? answer->tiempoEspera : retryDelaySeconds(failuresInARow(db) + 1);

    Database::Transaction tx(db);
    const QString when = stamp(now);
    for (size_t i = 0; i < batch.size(); ++i)
        db.insert(QStringLiteral("INSERT INTO EnviosFacturacion (IdRegistro, Fecha, Estado, "
                                 "Respuesta) VALUES (?, ?, ?, ?)"),
                  {batch[i].id, when, rows[i].estado, rows[i].respuesta});
    tx.commit();
    out.pending = pendingCount(db);
    return out;
}

namespace {

SendOutcome sendWith(Database& db, const TransportFactory& factory, const SendConfig& config,
                     const QDateTime& now) {
    SendOutcome out;
    if (const std::unique_ptr<Transport> transport = factory(config, &out.problem))
        return sendPending(db, *transport, now);
    out.unusableConfig = true;
    out.pending = pendingCount(db);
    return out;
}

}  // namespace

SendOutcome sendPending(Database& db, const SendConfig& config) {
    return sendWith(db, httpsTransport(), config, QDateTime::currentDateTime());
}

QStringList SendOutcome::messages() const {
    QStringList out;
    if (accepted > 0)
        out << QStringLiteral("Registros aceptados por la Agencia Tributaria: %1.").arg(accepted);
    for (const RejectedRecord& w : warnings)
        out << QStringLiteral(
                   "La Agencia Tributaria ha aceptado con errores el registro de la "
                   "factura %1 (código %2): %3")
                   .arg(w.numSerie, w.codigo, w.descripcion);
    for (const RejectedRecord& r : rejectedRecords)
        out << (r.codigo.isEmpty()
                    ? QStringLiteral("La Agencia Tributaria ha rechazado el registro de la "
                                     "factura %1: %2")
                          .arg(r.numSerie, r.descripcion)
                    : QStringLiteral("La Agencia Tributaria ha rechazado el registro de la "
                                     "factura %1 (código %2): %3")
                          .arg(r.numSerie, r.codigo, r.descripcion));
    if (!problem.isEmpty()) out << problem;
    if (pending > 0)
        out << QStringLiteral("Registros pendientes de envío: %1. Se reenviarán más tarde.")
                   .arg(pending);
    else if (sent == 0 && problem.isEmpty())
        out << QStringLiteral("No hay registros pendientes de envío.");
    return out;
}

TransportFactory httpsTransport() {
    return [](const SendConfig& config, QString* problem) -> std::unique_ptr<Transport> {
        auto transport = std::make_unique<HttpsTransport>(config);
        *problem = transport->prepare();
        if (!problem->isEmpty()) return nullptr;
        return transport;
    };
}

SendScheduler::SendScheduler(std::function<std::optional<SendConfig>()> config,
                             std::function<void(const SendOutcome&)> report,
                             TransportFactory transport)
    : config_(std::move(config)), report_(std::move(report)), transport_(std::move(transport)) {}

Tick SendScheduler::due(Database& db, const QDateTime& now, bool byUser) const {
    const Settings settings = loadSettings(db);
    if (!settings.sentToAgency()) return Tick::Off;
    if (pendingCount(db) == 0) return Tick::NothingPending;
    if (notBefore_.isValid() && now < notBefore_) return Tick::AgencyPause;
    if (!byUser && !retryWaitPassed(db, now)) return Tick::RetryWait;
    return Tick::Sent;
}

Tick SendScheduler::tick(Database& db, const QDateTime& now, bool byUser) {
    if (const Tick t = due(db, now, byUser); t != Tick::Sent) return t;
    const std::optional<SendConfig> config = config_();
    if (!config) return Tick::NoConfig;
    const SendOutcome out = sendWith(db, transport_, *config, now);
    // The agency asks for a pause between messages, unless a full one is waiting.
    if (out.reached && out.pending < kMaxRecordsPerMessage)
        notBefore_ = now.addSecs(out.waitSeconds);
    if (report_) report_(out);
    return Tick::Sent;
}

}  // namespace torvane::verifactu
