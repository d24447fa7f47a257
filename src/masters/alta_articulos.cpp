#include "masters/alta_articulos.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QVBoxLayout>

#include "controls/command_bar.h"
#include "controls/form_fields.h"
#include "core/db_errors.h"
#include "masters/article_form.h"
#include "masters/articles.h"

namespace torvane {

AltaArticulos::AltaArticulos(Session& session, Services& services, QWidget* parent)
    : QWidget(parent), session_(session), services_(services), dialogs_(services.dialogs()) {
    setObjectName(QStringLiteral("AltaArticulos"));
    setWindowTitle(QStringLiteral("Alta rapida de Artículos"));
    auto* layout = new QVBoxLayout(this);
    form_ = new ArticleForm(this, addFormGrid(layout), session_, dialogs_);
    fields_ = BoundFields(this, articles::articleFields());
    form_->fillCombos();
    layout->addStretch();
    layout->addWidget(new CommandBar(
        this, {{QStringLiteral("CmdGuardar"), QStringLiteral("Guardar"), [this] { save(); }},
               {QStringLiteral("CmdSalir"), QStringLiteral("Salir"), [this] { close(); }}}));
}

void AltaArticulos::setCode(const QString& code) {
    fields_.edit(QStringLiteral("Codigo"))->setText(code);
}

void AltaArticulos::save() {
    Row values = form_->withNames(fields_.read());
    QString problem = articles::checkArticle(values, articles::MandatoryText::QuickCreation);
    const QString code = values.value(QStringLiteral("Codigo")).toString().trimmed();
    if (problem.isEmpty() && !reportingDbErrors(dialogs_, [&] {
            if (articles::codeTakenByAnother(session_.db(), code, {}))
                problem = QString::fromUtf8(articles::kDuplicateCode);
        }))
        return;
    if (!problem.isEmpty()) {
        dialogs_.critical(problem);
        fields_.edit(QStringLiteral("Nombre"))->setFocus();
        return;
    }
    if (values.value(QStringLiteral("Descuento")).toString().trimmed().isEmpty())
        values.insert(QStringLiteral("Descuento"), QStringLiteral("0"));
    qint64 id = 0;
    if (!reportingDbErrors(dialogs_,
                           [&] { id = articles::saveArticle(session_.db(), {}, values); }))
        return;
    std::optional<articles::Article> stored;
    reportingDbErrors(dialogs_, [&] { stored = articles::articleById(session_.db(), id); });
    if (stored) {
        result_.saved = true;
        result_.code = stored->code;
        result_.description = stored->description;
        result_.price = stored->price;
        result_.discount = stored->discount;
    }
    close();
}

void AltaArticulos::closeEvent(QCloseEvent* event) {
    if (!handedBack_) {
        handedBack_ = true;
        services_.handoffs().articleTargets.created(result_);
    }
    QWidget::closeEvent(event);
}

}  // namespace torvane
