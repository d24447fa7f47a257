#include "verifactu/fingerprint.h"

#include <QCryptographicHash>

namespace torvane::verifactu {

QString altaText(const AltaFields& f) {
    return QStringLiteral("IDEmisorFactura=") + f.emisor + QStringLiteral("&NumSerieFactura=") +
           f.numSerie + QStringLiteral("&FechaExpedicionFactura=") + f.fecha +
           QStringLiteral("&TipoFactura=") + f.tipoFactura + QStringLiteral("&CuotaTotal=") +
           f.cuotaTotal + QStringLiteral("&ImporteTotal=") + f.importeTotal +
           QStringLiteral("&Huella=") + f.huellaAnterior +
           QStringLiteral("&FechaHoraHusoGenRegistro=") + f.fechaHoraHuso;
}

QString anulacionText(const AnulacionFields& f) {
    return QStringLiteral("IDEmisorFacturaAnulada=") + f.emisor +
           QStringLiteral("&NumSerieFacturaAnulada=") + f.numSerie +
           QStringLiteral("&FechaExpedicionFacturaAnulada=") + f.fecha +
           QStringLiteral("&Huella=") + f.huellaAnterior +
           QStringLiteral("&FechaHoraHusoGenRegistro=") + f.fechaHoraHuso;
}

QString fingerprint(const QString& text) {
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex().toUpper());
}

}  // namespace torvane::verifactu
