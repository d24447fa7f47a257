#include "verifactu/settings.h"

#include <QFileInfo>

#include "data/database.h"

namespace torvane::verifactu {

QStringList modes() {
    return {QString::fromLatin1(kModeVerifactu), QString::fromLatin1(kModeNoVerifactu)};
}

QString certificateMissingMessage(const QString& path) {
    return QStringLiteral("No se encuentra el certificado ") + path + QLatin1Char('.');
}

QString rateText(Quantity rate) {
    // Four decimals at most, shown without the trailing zeros.
    QString text = QString::number(rate.units() / Quantity::kScale);
    std::int64_t fraction = rate.units() % Quantity::kScale;
    if (fraction < 0) fraction = -fraction;
    if (rate.units() < 0 && rate.units() > -Quantity::kScale) text.prepend(QLatin1Char('-'));
    if (fraction == 0) return text;
    QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
    while (digits.endsWith(QLatin1Char('0'))) digits.chop(1);
    return text + QLatin1Char(',') + digits;
}

RateInput readRate(const QString& text) {
    const QString t = text.trimmed();
    const auto rate = Quantity::parse(t);
    if (t.isEmpty() || !rate) return {std::nullopt, QString::fromUtf8(kBadRate)};
    if (*rate < Quantity() || *rate > Quantity::whole(100))
        return {std::nullopt, QString::fromUtf8(kRateOutOfRange)};
    // Hundredths of a percent at most; Quantity keeps four decimals, so look at the text.
    const qsizetype sep =
        std::max(t.lastIndexOf(QLatin1Char(',')), t.lastIndexOf(QLatin1Char('.')));
    if (sep >= 0 && t.size() - sep - 1 > 2) {
        bool allZero = true;
        for (qsizetype i = sep + 3; i < t.size(); ++i)
            allZero = allZero && t[i] == QLatin1Char('0');
        if (!allZero) return {std::nullopt, QString::fromUtf8(kRateTooManyDecimals)};
    }
    return {rate, {}};
}

SettingsInput inputOf(const Settings& s) {
    return {s.enabled, s.mode, s.certificate, rateText(s.vatRate)};
}

Checked check(const SettingsInput& input, const Settings& current) {
    Checked c;
    if (current.enabled && !input.enabled) {
        c.refusal = QString::fromUtf8(kCannotSwitchOff);
        return c;
    }
    const RateInput rate = readRate(input.vatRate);
    if (!rate.rate) {
        c.refusal = rate.refusal;
        return c;
    }
    if (!modes().contains(input.mode)) {
        c.refusal = QString::fromUtf8(kUnknownMode);
        return c;
    }
    const QString certificate = input.certificate.trimmed();
    if (!certificate.isEmpty() && !QFileInfo(certificate).isFile()) {
        c.refusal = certificateMissingMessage(certificate);
        return c;
    }
    // Sending needs the certificate; keeping the records does not.
    if (input.enabled && input.mode == QLatin1String(kModeVerifactu) && certificate.isEmpty()) {
        c.refusal = QString::fromUtf8(kNoCertificate);
        return c;
    }
    Settings s;
    s.enabled = input.enabled;
    s.mode = input.mode;
    s.certificate = certificate;
    s.vatRate = *rate.rate;
    c.settings = s;
    c.switchesOn = input.enabled && !current.enabled;
    return c;
}

QString save(Database& db, const SettingsInput& input) {
    const Checked c = check(input, loadSettings(db));
    if (!c.settings) return c.refusal;
    saveSettings(db, *c.settings);
    return {};
}

SqlStatement recordList(bool sent) {
    // The state words are bound, never formatted into the statement.
    return {
        QStringLiteral("SELECT r.Id, r.NumSerie, replace(r.FechaExpedicion, '-', '/') AS Fecha, "
                       "CASE r.Tipo WHEN 'alta' THEN ? ELSE ? END AS Operacion, "
                       "CAST(r.ImporteTotal AS REAL) AS Importe, "
                       "CASE e.Estado WHEN 'Correcto' THEN ? WHEN 'AceptadoConErrores' THEN ? "
                       "WHEN 'Incorrecto' THEN ? WHEN 'SinRespuesta' THEN ? "
                       "ELSE CASE WHEN ? THEN ? ELSE ? END END AS Estado, "
                       "coalesce(e.Respuesta, '') AS Respuesta "
                       "FROM RegistrosFacturacion r LEFT JOIN EnviosFacturacion e ON e.Id = "
                       "(SELECT max(Id) FROM EnviosFacturacion WHERE IdRegistro = r.Id) "
                       "ORDER BY r.Id DESC"),
        {QStringLiteral("Alta"), QStringLiteral("Anulación"), QStringLiteral("Aceptado"),
         QStringLiteral("Aceptado con errores"), QStringLiteral("Rechazado"),
         QStringLiteral("Pendiente (sin respuesta)"), sent, QStringLiteral("Pendiente"),
         QStringLiteral("Guardado")}};
}

QList<GridColumn> recordListColumns() {
    return {{QStringLiteral("Id"), {}, ColumnKind::Hidden},
            {QStringLiteral("NumSerie"), QStringLiteral("Factura"), ColumnKind::Text, 110},
            {QStringLiteral("Fecha"), QStringLiteral("Fecha"), ColumnKind::Text, 80},
            {QStringLiteral("Operacion"), QStringLiteral("Operación"), ColumnKind::Text, 75},
            {QStringLiteral("Importe"), QStringLiteral("Importe"), ColumnKind::Money, 80},
            {QStringLiteral("Estado"), QStringLiteral("Estado"), ColumnKind::Text, 150},
            {QStringLiteral("Respuesta"), QStringLiteral("Respuesta de la Agencia"),
             ColumnKind::Text, 300}};
}

}  // namespace torvane::verifactu
