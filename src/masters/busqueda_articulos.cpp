#include "masters/busqueda_articulos.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "masters/articles.h"

namespace torvane {

BusquedaArticulos::BusquedaArticulos(Session& session, Services& services, QWidget* parent)
    : SearchScreen(session, services, parent) {
    setObjectName(QStringLiteral("BusquedaArticulos"));
    setWindowTitle(QStringLiteral("Búsqueda de artículos"));
    if (auto* frame = findChild<QGroupBox*>(QStringLiteral("Frame1")))
        frame->setTitle(QStringLiteral("Busqueda por:"));

    const char* const captions[] = {"Codigo", "Descripcion"};
    QList<SearchOption> options;
    for (int i = 0; i < articles::kSearchOptions; ++i)
        options << SearchOption{QString::fromLatin1(captions[i]),
                                [i](const QString& typed) { return articles::search(i, typed); }};
    setOptions(options, 0);
    setColumns(articles::searchColumns());
    setIdField(QStringLiteral("Id_Art"));

    auto* labels = new QHBoxLayout;
    const char* const captionsOfValues[] = {"Stock:", "Precio:", "Dto:"};
    for (int i = 0; i < 3; ++i) {
        labels->addWidget(new QLabel(QString::fromLatin1(captionsOfValues[i]), this));
        auto* value = new QLabel(this);
        value->setObjectName(QStringLiteral("Label2_%1").arg(i));
        value->setMinimumWidth(60);
        labels->addWidget(value);
        values_ << value;
    }
    labels->addWidget(new QLabel(QStringLiteral("Precio Coste:"), this));
    costPrice_ = new QLabel(this);
    costPrice_->setObjectName(QStringLiteral("LabelPC"));
    costPrice_->setMinimumWidth(90);
    labels->addWidget(costPrice_);
    lowStock_ = new QLabel(QString::fromLatin1(articles::kLowStockSearch), this);
    lowStock_->setObjectName(QStringLiteral("Label3"));
    lowStock_->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    lowStock_->setVisible(false);
    labels->addWidget(lowStock_);
    labels->addStretch();
    static_cast<QVBoxLayout*>(layout())->addLayout(labels);

    CommandBar* bar = setCommands({{QStringLiteral("CmdAcciones"), QStringLiteral("Seleccionar"),
                                    [this] { accept(); }, RecordMode::When::BrowseWithRecord}});
    setDefaultCommand(bar->button(QStringLiteral("CmdAcciones")));
    connect(this, &SearchScreen::selectedRowChanged, this, &BusquedaArticulos::showCurrent);
    runQuery(articles::searchInitial());
}

void BusquedaArticulos::setSupplierId(const QVariant& supplierId) {
    runQuery(articles::searchInitial(supplierId));
}

void BusquedaArticulos::showCurrent(int row) {
    if (row < 0) {
        for (QLabel* l : values_) l->clear();
        costPrice_->clear();
        lowStock_->setVisible(false);
        return;
    }
    const QVariant price = grid()->value(row, QStringLiteral("PrecioVenta"));
    values_[0]->setText(grid()->displayText(row, QStringLiteral("StockInicial")));
    values_[1]->setText(grid()->displayText(row, QStringLiteral("PrecioVenta")));
    values_[2]->setText(grid()->displayText(row, QStringLiteral("Descuento")));
    lowStock_->setVisible(
        articles::isLowStock(Quantity::fromDb(grid()->value(row, QStringLiteral("StockInicial"))),
                             Quantity::fromDb(grid()->value(row, QStringLiteral("StockMinimo")))));
    costPrice_->setText(
        price.isNull() ? QString()
                       : articles::costPriceText(
                             Money::fromDb(price),
                             Quantity::fromDb(grid()->value(row, QStringLiteral("Descuento")))));
}

void BusquedaArticulos::accept() {
    if (selectedId().isEmpty()) {
        dialogs_.critical(QStringLiteral("Ningún registro activo"));
        return;
    }
    ArticleChoice choice;
    choice.articleId = selectedId().toLongLong();
    choice.code = grid()->currentValue(QStringLiteral("Codigo")).toString();
    // The search closes first, so the screen it hands over to is the active one.
    hide();
    services_.handoffs().articleTargets.choose(choice);
    close();
}

}  // namespace torvane
