#include "app/config_inf.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "core/numbering.h"
#include "core/services.h"
#include "core/session.h"

namespace torvane {

namespace {
struct SeriesField {
    const char* name;
    const char* label;
};
// In series order: AR, AL, A, EN, FV, FL, FR, ODT, REC, PG.
const SeriesField kFields[kSeriesCount] = {
    {"TxtAlb", "Albaranes de recambios"},
    {"TxtAlbOdt", "Albaranes de ODT"},
    {"TxtArt", "Artículos"},
    {"TxtEnt", "Entradas"},
    {"TxtFac", "Facturas de recambios"},
    {"TxtFacLib", "Facturas libres"},
    {"TxtFacOdt", "Facturas de ODT"},
    {"TxtOdt", "Órdenes de trabajo"},
    {"TxtRec", "Recibos"},
    {"txtPartesG", "Partes de grúa"},
};
}  // namespace

QStringList seriesWithDigitEndingPrefix(const QStringList& series, const QDate& date) {
    QStringList out;
    for (int i = 0; i < kSeriesCount && i < series.size(); ++i) {
        // Article codes are only probed, never continued, so a digit there does no harm.
        if (static_cast<Series>(i) == Series::A) continue;
        const QString prefix = ExpandSeries(series[i], date);
        if (!prefix.isEmpty() && prefix.back().isDigit())
            out << seriesName(static_cast<Series>(i)) + QStringLiteral(" (") + prefix +
                       QLatin1Char(')');
    }
    return out;
}

ConfigInf::ConfigInf(Session& session, Services& services, QWidget* parent)
    : QWidget(parent), session_(session), services_(services), dialogs_(services.dialogs()) {
    setObjectName(QStringLiteral("ConfigInf"));
    setWindowTitle(QStringLiteral("Numeraciones"));

    auto* form = new QFormLayout;
    const QStringList current = [&] {
        QStringList all;
        for (int i = 0; i < kSeriesCount; ++i) all << seriesText(session, static_cast<Series>(i));
        return all;
    }();
    for (int i = 0; i < kSeriesCount; ++i) {
        auto* edit = new QLineEdit(current[i], this);
        edit->setObjectName(QString::fromLatin1(kFields[i].name));
        auto* label = new QLabel(QString::fromUtf8(kFields[i].label), this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setBuddy(edit);
        form->addRow(label, edit);
        fields_ << edit;
    }

    auto* help =
        new QLabel(QStringLiteral("Año, Mes y Dia entre \"&\" se sustituyen por la fecha del día; "
                                  "el texto debe terminar en \"&\"."),
                   this);
    help->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(help);
    layout->addWidget(new CommandBar(
        this, {{QStringLiteral("CmdGuardar"), QStringLiteral("Guardar"), [this] { save(); }},
               {QStringLiteral("Command6"), QStringLiteral("Salir"), [this] { close(); }}}));
}

bool ConfigInf::save() {
    QStringList series;
    for (QLineEdit* f : fields_) series << f->text();
    QString error;
    if (!SaveSeries(session_, series, &error)) {
        // The fields keep what was typed, so nothing is lost; memory still matches the file.
        dialogs_.critical(error);
        return false;
    }
    const QStringList odd = seriesWithDigitEndingPrefix(series, session_.today());
    if (!odd.isEmpty())
        dialogs_.exclamation(
            QStringLiteral("Las numeraciones se han guardado, pero el prefijo de ") +
            odd.join(QStringLiteral(", ")) +
            QStringLiteral(" termina en una cifra: sus números no seguirán la cuenta y "
                           "empezarán siempre en 1. Termine la serie en una letra o en "
                           "\"/\" (por ejemplo \"ODT&Año&/&\")."));
    return true;
}

}  // namespace torvane
