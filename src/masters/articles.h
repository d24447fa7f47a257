#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

#include "core/field_binding.h"
#include "core/grid_column.h"
#include "core/money.h"
#include "core/sql_statement.h"
#include "data/database.h"

namespace torvane::articles {

// Article fields in screen order. The two name combos and the supplier combo
// are not text fields; the screens fill them from Familia, Almacen and
// Id_Proveedor themselves.
const QList<FieldBinding>& articleFields();

// The stored article as the screens and the later documents use it.
struct Article {
    qint64 id = 0;
    QString code;
    QString description;
    QString reference;
    QString family;
    QString warehouse;
    Quantity stock;    // units in stock
    Quantity minimum;  // minimum units
    Money price;       // sale price
    Quantity discount;
    QVariant supplierId;  // Id_Pro, or no value
};
std::optional<Article> articleById(Database& db, qint64 id);
std::optional<Article> articleByCode(Database& db, const QString& code);

// True when an article other than `exceptId` already has this code.
bool codeTakenByAnother(Database& db, const QString& code, const QVariant& exceptId);
inline constexpr const char* kDuplicateCode = "Ya existe un artículo con este código";

// The article file and the quick creation differ in one capital letter.
enum class MandatoryText { ArticleFile, QuickCreation };
QString mandatoryMessage(MandatoryText which);

// Column -> screen text (plus Familia, Almacen, Id_Proveedor from the combos);
// empty when the article can be saved, else the message.
QString checkArticle(const Row& values, MandatoryText which = MandatoryText::ArticleFile);
// Inserts (id invalid) or updates; returns the id. Stock and prices go through
// Quantity and Money: "12,5" is stored as 12.5, an empty discount as 0.
qint64 saveArticle(Database& db, const QVariant& id, const Row& values);
// Movements that refer to the article stay as they are.
void deleteArticle(Database& db, qint64 id);

// Stock below the minimum; an empty or unreadable text counts as 0.
bool isLowStock(const QString& stock, const QString& minimum);
bool isLowStock(Quantity stock, Quantity minimum);
inline constexpr const char* kLowStockFile = " STOCK BAJO MÍNIMO";
inline constexpr const char* kLowStockSearch = "STOCK BAJO MINIMO";
// PrecioVenta less its discount, to cents, "#,##0.00 €".
QString costPriceText(Money price, Quantity discount);

// The article file walks the articles in code order.
SqlStatement articleKeys();

// The names offered by the combos, in alphabetical order.
QStringList familyNames(Database& db);
QStringList warehouseNames(Database& db);
struct Supplier {
    qint64 id = 0;
    QString name;
};
QList<Supplier> suppliersByName(Database& db);
QString supplierName(Database& db, const QVariant& supplierId);
// The supplier with this name (the first by id when names repeat).
QVariant supplierIdByName(Database& db, const QString& name);

// ---- History of an article ----
const QList<GridColumn>& entryColumns();
const QList<GridColumn>& saleColumns();
const QList<GridColumn>& workOrderUseColumns();
SqlStatement entriesOf(qint64 articleId);
SqlStatement salesOf(qint64 articleId);
SqlStatement workOrderUsesOf(const QString& code);

// ---- Article search: 0 code, 1 description ----
inline constexpr int kSearchOptions = 2;
const QList<GridColumn>& searchColumns();
// Every article in code order; with a supplier id, only that supplier's.
SqlStatement searchInitial(const QVariant& supplierId = {});
SqlStatement search(int option, const QString& typed);

}  // namespace torvane::articles
