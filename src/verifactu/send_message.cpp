#include "verifactu/send_message.h"

#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cstdlib>

#include "core/percent.h"

namespace torvane::verifactu {

namespace {

const QString kSoap = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");
const QString kSum = QStringLiteral(
    "https://www2.agenciatributaria.gob.es/static_files/common/internet/dep/aplicaciones/es/aeat/"
    "tike/cont/ws/SuministroLR.xsd");
const QString kSf = QStringLiteral(
    "https://www2.agenciatributaria.gob.es/static_files/common/internet/dep/aplicaciones/es/aeat/"
    "tike/cont/ws/SuministroInformacion.xsd");

// Amounts are kept as the agency writes them ("116.00"): cents, exactly.
qint64 cents(const QString& amount) {
    QString t = amount.trimmed();
    const bool negative = t.startsWith(QLatin1Char('-'));
    if (negative) t.remove(0, 1);
    const int dot = t.indexOf(QLatin1Char('.'));
    const QString euros = dot < 0 ? t : t.left(dot);
    const QString frac = dot < 0 ? QString() : (t.mid(dot + 1) + QStringLiteral("00")).left(2);
    const qint64 v = euros.toLongLong() * 100 + frac.toLongLong();
    return negative ? -v : v;
}

QString amountText(qint64 c) {
    const qint64 a = std::llabs(c);
    return QStringLiteral("%1%2.%3")
        .arg(c < 0 ? QStringLiteral("-") : QString())
        .arg(a / 100)
        .arg(a % 100, 2, 10, QLatin1Char('0'));
}

// The rate the VAT amount stands for, to two decimals.
QString rateText(qint64 cuota, qint64 base) {
    return amountText(percentOf(Money::fromCents(cuota), Money::fromCents(base)).units() / 100);
}

QString descriptionOf(const Record& r) {
    if (r.origen == QLatin1String("FacturasODT"))
        return QStringLiteral("Reparación y mantenimiento de vehículos");
    if (r.origen == QLatin1String("Comisiones")) return QStringLiteral("Comisiones");
    if (r.origen == QLatin1String("Facturas"))
        return QStringLiteral("Venta de recambios y servicios de grúa");
    return QStringLiteral("Servicios del taller");
}

void idFactura(QXmlStreamWriter& w, const Record& r) {
    const QString suffix = r.tipo == QLatin1String("alta") ? QString() : QStringLiteral("Anulada");
    w.writeStartElement(kSf, QStringLiteral("IDFactura"));
    w.writeTextElement(kSf, QStringLiteral("IDEmisorFactura") + suffix, r.emisor);
    w.writeTextElement(kSf, QStringLiteral("NumSerieFactura") + suffix, r.numSerie);
    w.writeTextElement(kSf, QStringLiteral("FechaExpedicionFactura") + suffix, r.fecha);
    w.writeEndElement();
}

void chain(QXmlStreamWriter& w, const std::optional<Record>& previous) {
    w.writeStartElement(kSf, QStringLiteral("Encadenamiento"));
    if (!previous) {
        w.writeTextElement(kSf, QStringLiteral("PrimerRegistro"), QStringLiteral("S"));
    } else {
        w.writeStartElement(kSf, QStringLiteral("RegistroAnterior"));
        w.writeTextElement(kSf, QStringLiteral("IDEmisorFactura"), previous->emisor);
        w.writeTextElement(kSf, QStringLiteral("NumSerieFactura"), previous->numSerie);
        w.writeTextElement(kSf, QStringLiteral("FechaExpedicionFactura"), previous->fecha);
        w.writeTextElement(kSf, QStringLiteral("Huella"), previous->huella);
        w.writeEndElement();
    }
    w.writeEndElement();
}

void software(QXmlStreamWriter& w, const Issuer& issuer) {
    w.writeStartElement(kSf, QStringLiteral("SistemaInformatico"));
    w.writeTextElement(kSf, QStringLiteral("NombreRazon"), issuer.nombre);
    w.writeTextElement(kSf, QStringLiteral("NIF"), issuer.nif);
    w.writeTextElement(kSf, QStringLiteral("NombreSistemaInformatico"), QStringLiteral("Torvane"));
    w.writeTextElement(kSf, QStringLiteral("IdSistemaInformatico"), QStringLiteral("TV"));
    w.writeTextElement(kSf, QStringLiteral("Version"), QStringLiteral("0.1"));
    w.writeTextElement(kSf, QStringLiteral("NumeroInstalacion"), QStringLiteral("1"));
    // The program can also keep its records without sending them.
    w.writeTextElement(kSf, QStringLiteral("TipoUsoPosibleSoloVerifactu"), QStringLiteral("N"));
    w.writeTextElement(kSf, QStringLiteral("TipoUsoPosibleMultiOT"), QStringLiteral("N"));
    w.writeTextElement(kSf, QStringLiteral("IndicadorMultiplesOT"), QStringLiteral("N"));
    w.writeEndElement();
}

// What ends every record, alta or anulación: its link to the one before, the program that
// made it, when, and its fingerprint; then the record's element is closed.
void closing(QXmlStreamWriter& w, const Issuer& issuer, const Record& r,
             const std::optional<Record>& previous) {
    chain(w, previous);
    software(w, issuer);
    w.writeTextElement(kSf, QStringLiteral("FechaHoraHusoGenRegistro"), r.fechaHoraHuso);
    w.writeTextElement(kSf, QStringLiteral("TipoHuella"), QStringLiteral("01"));
    w.writeTextElement(kSf, QStringLiteral("Huella"), r.huella);
    w.writeEndElement();
}

void alta(QXmlStreamWriter& w, const Issuer& issuer, const Record& r,
          const std::optional<Record>& previous, const std::optional<Recipient>& recipient) {
    w.writeStartElement(kSf, QStringLiteral("RegistroAlta"));
    w.writeTextElement(kSf, QStringLiteral("IDVersion"), QStringLiteral("1.0"));
    idFactura(w, r);
    w.writeTextElement(kSf, QStringLiteral("NombreRazonEmisor"), issuer.nombre);
    w.writeTextElement(kSf, QStringLiteral("TipoFactura"), r.tipoFactura);
    w.writeTextElement(kSf, QStringLiteral("DescripcionOperacion"), descriptionOf(r));
    if (recipient) {
        w.writeStartElement(kSf, QStringLiteral("Destinatarios"));
        w.writeStartElement(kSf, QStringLiteral("IDDestinatario"));
        w.writeTextElement(kSf, QStringLiteral("NombreRazon"), recipient->nombre);
        w.writeTextElement(kSf, QStringLiteral("NIF"), recipient->nif);
        w.writeEndElement();
        w.writeEndElement();
    }
    // The record keeps the VAT and the total: the base is what lies between them.
    const qint64 cuota = cents(r.cuotaTotal), total = cents(r.importeTotal);
    w.writeStartElement(kSf, QStringLiteral("Desglose"));
    w.writeStartElement(kSf, QStringLiteral("DetalleDesglose"));
    w.writeTextElement(kSf, QStringLiteral("Impuesto"), QStringLiteral("01"));
    w.writeTextElement(kSf, QStringLiteral("ClaveRegimen"), QStringLiteral("01"));
    w.writeTextElement(kSf, QStringLiteral("CalificacionOperacion"), QStringLiteral("S1"));
    w.writeTextElement(kSf, QStringLiteral("TipoImpositivo"), rateText(cuota, total - cuota));
    w.writeTextElement(kSf, QStringLiteral("BaseImponibleOimporteNoSujeto"),
                       amountText(total - cuota));
    w.writeTextElement(kSf, QStringLiteral("CuotaRepercutida"), amountText(cuota));
    w.writeEndElement();
    w.writeEndElement();
    w.writeTextElement(kSf, QStringLiteral("CuotaTotal"), r.cuotaTotal);
    w.writeTextElement(kSf, QStringLiteral("ImporteTotal"), r.importeTotal);
    closing(w, issuer, r, previous);
}

void anulacion(QXmlStreamWriter& w, const Issuer& issuer, const Record& r,
               const std::optional<Record>& previous) {
    w.writeStartElement(kSf, QStringLiteral("RegistroAnulacion"));
    w.writeTextElement(kSf, QStringLiteral("IDVersion"), QStringLiteral("1.0"));
    idFactura(w, r);
    closing(w, issuer, r, previous);
}

}  // namespace

QString operacionOf(const Record& r) {
    return r.tipo == QLatin1String("alta") ? QStringLiteral("Alta") : QStringLiteral("Anulacion");
}

std::optional<QString> agencyNif(const QString& typed) {
    QString nif = typed.toUpper();
    nif.remove(QRegularExpression(QStringLiteral("[\\s.\\-]")));
    if (nif.size() != 9) return std::nullopt;
    return nif;
}

QByteArray registrationEnvelope(const Issuer& issuer, const std::vector<Record>& records,
                                const std::optional<Record>& previous,
                                const std::vector<std::optional<Recipient>>& recipients) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeNamespace(kSoap, QStringLiteral("soapenv"));
    w.writeNamespace(kSum, QStringLiteral("sum"));
    w.writeNamespace(kSf, QStringLiteral("sf"));
    w.writeStartElement(kSoap, QStringLiteral("Envelope"));
    w.writeEmptyElement(kSoap, QStringLiteral("Header"));
    w.writeStartElement(kSoap, QStringLiteral("Body"));
    w.writeStartElement(kSum, QStringLiteral("RegFactuSistemaFacturacion"));
    w.writeStartElement(kSum, QStringLiteral("Cabecera"));
    w.writeStartElement(kSf, QStringLiteral("ObligadoEmision"));
    w.writeTextElement(kSf, QStringLiteral("NombreRazon"), issuer.nombre);
    w.writeTextElement(kSf, QStringLiteral("NIF"), issuer.nif);
    w.writeEndElement();
    w.writeEndElement();
    std::optional<Record> before = previous;
    for (size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        w.writeStartElement(kSum, QStringLiteral("RegistroFactura"));
        if (r.tipo == QLatin1String("alta"))
            alta(w, issuer, r, before, i < recipients.size() ? recipients[i] : std::nullopt);
        else
            anulacion(w, issuer, r, before);
        w.writeEndElement();
        before = r;
    }
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

std::optional<AgencyAnswer> parseAnswer(const QByteArray& body, QString* problem) {
    AgencyAnswer a;
    bool seen = false, inFault = false, inDuplicate = false;
    std::optional<LineAnswer> line;
    QXmlStreamReader x(body);
    while (!x.atEnd()) {
        x.readNext();
        if (x.isEndElement()) {
            if (x.name() == QLatin1String("RespuestaLinea") && line) {
                a.lines.push_back(*line);
                line.reset();
            } else if (x.name() == QLatin1String("RegistroDuplicado")) {
                inDuplicate = false;
            } else if (x.name() == QLatin1String("Fault")) {
                inFault = false;
            }
            continue;
        }
        if (!x.isStartElement()) continue;
        const auto name = x.name();
        if (name == QLatin1String("RespuestaRegFactuSistemaFacturacion")) {
            seen = true;
        } else if (name == QLatin1String("Fault")) {
            seen = inFault = true;
            a.fault = QStringLiteral("mensaje rechazado");
        } else if (inFault && name == QLatin1String("faultcode")) {
            a.serverFault = x.readElementText().trimmed().endsWith(QLatin1String("Server"));
        } else if (inFault && name == QLatin1String("faultstring")) {
            a.fault = x.readElementText().trimmed();
        } else if (name == QLatin1String("RespuestaLinea")) {
            line = LineAnswer{};
        } else if (line && inDuplicate) {
            // The record the agency already holds: only its state matters here.
            if (name == QLatin1String("EstadoRegistroDuplicado"))
                line->duplicado = x.readElementText().trimmed();
        } else if (line) {
            // Inside a line the invoice's own fields come first, then its state.
            if (name == QLatin1String("RegistroDuplicado"))
                inDuplicate = true;
            else if (name == QLatin1String("NumSerieFactura") ||
                     name == QLatin1String("NumSerieFacturaAnulada"))
                line->numSerie = x.readElementText().trimmed();
            else if (name == QLatin1String("TipoOperacion"))
                line->operacion = x.readElementText().trimmed();
            else if (name == QLatin1String("EstadoRegistro"))
                line->estado = x.readElementText().trimmed();
            else if (name == QLatin1String("CodigoErrorRegistro"))
                line->codigo = x.readElementText().trimmed();
            else if (name == QLatin1String("DescripcionErrorRegistro"))
                line->descripcion = x.readElementText().trimmed();
        } else if (name == QLatin1String("EstadoEnvio")) {
            a.estadoEnvio = x.readElementText().trimmed();
        } else if (name == QLatin1String("CSV")) {
            a.csv = x.readElementText().trimmed();
        } else if (name == QLatin1String("TiempoEsperaEnvio")) {
            bool ok = false;
            const int s = x.readElementText().trimmed().toInt(&ok);
            if (ok && s >= 0) a.tiempoEspera = s;
        }
    }
    if (x.hasError() || !seen) {
        if (problem)
            *problem = QStringLiteral("La respuesta de la Agencia Tributaria no se puede leer%1.")
                           .arg(x.hasError() ? QStringLiteral(": ") + x.errorString() : QString());
        return std::nullopt;
    }
    if (a.fault.isEmpty() && a.estadoEnvio.isEmpty() && a.lines.empty()) {
        if (problem)
            *problem = QStringLiteral(
                "La respuesta de la Agencia Tributaria no dice si el envío es correcto.");
        return std::nullopt;
    }
    return a;
}

}  // namespace torvane::verifactu
