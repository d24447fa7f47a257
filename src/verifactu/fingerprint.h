#pragma once

#include <QString>

namespace torvane::verifactu {

// The fields of an "alta" record that its fingerprint covers, as the agency writes them:
// date dd-mm-yyyy, amounts with a point and two decimals, time ISO 8601 with offset.
struct AltaFields {
    QString emisor;
    QString numSerie;
    QString fecha;
    QString tipoFactura;
    QString cuotaTotal;
    QString importeTotal;
    QString huellaAnterior;
    QString fechaHoraHuso;
};

// The fields of an "anulación" record that its fingerprint covers.
struct AnulacionFields {
    QString emisor;
    QString numSerie;
    QString fecha;
    QString huellaAnterior;
    QString fechaHoraHuso;
};

QString altaText(const AltaFields& f);
QString anulacionText(const AnulacionFields& f);
// Upper-case hexadecimal SHA-256 of the text's UTF-8 bytes.
QString fingerprint(const QString& text);

}  // namespace torvane::verifactu
