#pragma once

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QObject>

#include "core/dialogs.h"
#include "core/session.h"
#include "data/database.h"

namespace torvane {

// The article's fields and combos as the article file and the quick creation
// lay them out: TxtCodigo, txtDescripcion, TxtReferencia, txtStockA, txtStockM,
// txtPrecioVenta, TxtDescuento, ComboUbicacion, ComboFamilia, ComboProveedor
// and the hidden TxtId_Pro, with their keyboard classes. Choosing a supplier by
// name puts its id into TxtId_Pro.
class ArticleForm : public QObject {
    Q_OBJECT
  public:
    ArticleForm(QWidget* owner, QGridLayout* grid, Session& session, Dialogs& dialogs);

    // The names the combos offer, read again; the text each shows is kept.
    void fillCombos();
    // Shows the family, warehouse and supplier of a stored row (empty row: none).
    void showNames(const Row& row);
    // The typed values with the combos' Familia, Almacen and the Id_Proveedor.
    Row withNames(Row values) const;

    QComboBox* family() const { return family_; }
    QComboBox* warehouse() const { return warehouse_; }
    QComboBox* supplier() const { return supplier_; }
    QStringList comboNames() const;

  private:
    void onSupplierText(const QString& name);

    Session& session_;
    Dialogs& dialogs_;
    QComboBox* family_;
    QComboBox* warehouse_;
    QComboBox* supplier_;
    QLineEdit* supplierId_;
};

}  // namespace torvane
