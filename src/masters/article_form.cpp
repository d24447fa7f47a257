#include "masters/article_form.h"

#include <QLabel>

#include "controls/form_fields.h"
#include "controls/keyboard_classes.h"
#include "core/db_errors.h"
#include "masters/articles.h"

namespace torvane {

namespace {

QComboBox* addCombo(QWidget* owner, QGridLayout* grid, int row, int column, const QString& caption,
                    const QString& objectName) {
    auto* label = new QLabel(caption, owner);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* combo = new QComboBox(owner);
    combo->setObjectName(objectName);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    label->setBuddy(combo);
    grid->addWidget(label, row, column);
    grid->addWidget(combo, row, column + 1);
    return combo;
}

void setShown(QComboBox* combo, const QString& text) {
    const QSignalBlocker block(combo);
    combo->setEditText(text);
}

void refill(QComboBox* combo, const QStringList& names) {
    const QSignalBlocker block(combo);
    const QString shown = combo->currentText();
    combo->clear();
    combo->addItems(names);
    combo->setEditText(shown);
}

}  // namespace

ArticleForm::ArticleForm(QWidget* owner, QGridLayout* grid, Session& session, Dialogs& dialogs)
    : QObject(owner), session_(session), dialogs_(dialogs) {
    addFields(owner, grid,
              {{"Código:", "TxtCodigo", 0, 0, 1, 160},
               {"Descripción:", "txtDescripcion", 1, 0, 3},
               {"Referencia:", "TxtReferencia", 2, 0},
               {"Stock actual:", "txtStockA", 3, 0, 1, 90},
               {"Stock minimo:", "txtStockM", 3, 2, 1, 90},
               {"Precio venta:", "txtPrecioVenta", 4, 0, 1, 110},
               {"Descuento %:", "TxtDescuento", 4, 2, 1, 90}});
    warehouse_ =
        addCombo(owner, grid, 5, 0, QStringLiteral("Ubicacion:"), QStringLiteral("ComboUbicacion"));
    family_ =
        addCombo(owner, grid, 5, 2, QStringLiteral("Familia:"), QStringLiteral("ComboFamilia"));
    supplier_ =
        addCombo(owner, grid, 6, 0, QStringLiteral("Proveedor:"), QStringLiteral("ComboProveedor"));
    supplierId_ = new QLineEdit(owner);
    supplierId_->setObjectName(QStringLiteral("TxtId_Pro"));
    supplierId_->setVisible(false);

    applyKeyClasses(owner, {{KeyClass::K1, "TxtCodigo"},
                            {KeyClass::K3, "txtStockA txtStockM TxtDescuento"},
                            {KeyClass::K4,
                             "txtDescripcion TxtReferencia ComboUbicacion ComboFamilia "
                             "ComboProveedor"},
                            {KeyClass::K5, "txtPrecioVenta"}});
    connect(supplier_, &QComboBox::currentTextChanged, this, &ArticleForm::onSupplierText);
}

QStringList ArticleForm::comboNames() const {
    return {warehouse_->objectName(), family_->objectName(), supplier_->objectName()};
}

void ArticleForm::fillCombos() {
    reportingDbErrors(dialogs_, [&] {
        Database& db = session_.db();
        refill(family_, articles::familyNames(db));
        refill(warehouse_, articles::warehouseNames(db));
        QStringList suppliers;
        for (const articles::Supplier& s : articles::suppliersByName(db)) suppliers << s.name;
        refill(supplier_, suppliers);
    });
}

void ArticleForm::showNames(const Row& row) {
    setShown(family_, row.value(QStringLiteral("Familia")).toString());
    setShown(warehouse_, row.value(QStringLiteral("Almacen")).toString());
    QString supplier;
    reportingDbErrors(dialogs_, [&] {
        supplier = articles::supplierName(session_.db(), row.value(QStringLiteral("Id_Proveedor")));
    });
    setShown(supplier_, supplier);
}

Row ArticleForm::withNames(Row values) const {
    values.insert(QStringLiteral("Familia"), family_->currentText().trimmed());
    values.insert(QStringLiteral("Almacen"), warehouse_->currentText().trimmed());
    values.insert(QStringLiteral("Id_Proveedor"), supplierId_->text());
    return values;
}

void ArticleForm::onSupplierText(const QString& name) {
    // A name that is no supplier's leaves the article without one.
    QVariant id;
    if (!name.trimmed().isEmpty())
        reportingDbErrors(dialogs_,
                          [&] { id = articles::supplierIdByName(session_.db(), name.trimmed()); });
    supplierId_->setText(id.isValid() ? id.toString() : QString());
}

}  // namespace torvane
