#pragma once

#include <QtGlobal>

#include "core/money.h"

namespace torvane {

class Database;

// Article stock is one stored number (Articulos.StockInicial) that each movement
// changes as it happens. These helpers are the one place a document line moves
// it; callers run them inside the transaction that stores the line.

// Adds change (negative to take units out) to the article's stock, exactly.
// Returns false, changing nothing, for article 0 (a free line) or an article
// that no longer exists.
bool moveStock(Database& db, qint64 articleId, Quantity change);

// A stored line is rewritten: the old article gets its units back and the new
// one gives its units, so an edit moves only the difference (and a line moved
// to another article gives the first one everything back).
void moveStockForEdit(Database& db, qint64 oldArticleId, Quantity oldUnits, qint64 newArticleId,
                      Quantity newUnits);

}  // namespace torvane
