#include "core/stock_moves.h"

#include "data/database.h"

namespace torvane {

bool moveStock(Database& db, qint64 articleId, Quantity change) {
    if (articleId == 0 || change == Quantity()) return articleId != 0;
    const QVariant stock =
        db.scalar(QStringLiteral("SELECT IFNULL(StockInicial, 0) FROM Articulos WHERE Id_Art = ?"),
                  {articleId});
    if (!stock.isValid()) return false;
    const Quantity now = Quantity::fromDb(stock) + change;
    db.exec(QStringLiteral("UPDATE Articulos SET StockInicial = ? WHERE Id_Art = ?"),
            {now.toDb(), articleId});
    return true;
}

void moveStockForEdit(Database& db, qint64 oldArticleId, Quantity oldUnits, qint64 newArticleId,
                      Quantity newUnits) {
    if (oldArticleId == newArticleId) {
        moveStock(db, newArticleId, oldUnits - newUnits);
        return;
    }
    moveStock(db, oldArticleId, oldUnits);
    moveStock(db, newArticleId, -newUnits);
}

}  // namespace torvane
