#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "verifactu/records.h"

namespace torvane::verifactu {

// Who issues the invoices, as the message's header names it.
struct Issuer {
    QString nif;
    QString nombre;
};

// Whom an invoice is made out to: the customer, or the insurer of a tow report.
struct Recipient {
    QString nif;
    QString nombre;
};
// The tax number as the agency takes it (upper case, without spaces, dots or dashes), or
// nothing when it is not nine characters long (missing, or not a Spanish one).
std::optional<QString> agencyNif(const QString& typed);

// The registration message (SOAP) for a run of records in chain order. `previous` is the
// record written just before the first one (none when the first is the first of the chain):
// every record names the one before it. `recipients` goes with `records` (nothing for a
// record without one; missing entries count as nothing).
QByteArray registrationEnvelope(const Issuer& issuer, const std::vector<Record>& records,
                                const std::optional<Record>& previous,
                                const std::vector<std::optional<Recipient>>& recipients = {});

// What the agency says of one record.
struct LineAnswer {
    QString numSerie;
    QString operacion;  // "Alta" or "Anulacion"
    QString estado;     // "Correcto", "AceptadoConErrores" or "Incorrecto"
    QString codigo;
    QString descripcion;
    // When the agency already holds the record (a message whose answer was lost, sent again):
    // the state of the one it holds, "Correcta", "AceptadaConErrores" or "Anulada".
    QString duplicado;
};

// The agency's answer to a registration message.
struct AgencyAnswer {
    QString estadoEnvio;  // "Correcto", "ParcialmenteCorrecto", "Incorrecto"; empty for a fault
    QString csv;
    int tiempoEspera = 60;  // seconds the agency asks to wait before the next message
    std::vector<LineAnswer> lines;
    QString fault;             // the text of a SOAP fault: the whole message was refused
    bool serverFault = false;  // the fault is the service's, not the message's
};

// Reads the answer; nothing when it is not one (the Spanish reason in *problem).
std::optional<AgencyAnswer> parseAnswer(const QByteArray& body, QString* problem);

// The operation of a record as the agency names it.
QString operacionOf(const Record& r);

}  // namespace torvane::verifactu
