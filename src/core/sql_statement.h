#pragma once

#include <QString>
#include <QVariantList>

namespace torvane {

// A query with its bound parameters, as the logic hands it to a grid.
struct SqlStatement {
    QString sql;
    QVariantList params;
};

// What a search box binds for LIKE. The user's own % and _ stay wildcards and
// a quote is just a character, since the text is bound, never formatted in.
inline QString likePrefix(const QString& typed) {
    return typed + QLatin1Char('%');
}
// A word inside a text, after a blank ("GARCIA" finds "JUAN GARCIA LOPEZ").
inline QString likeWordInside(const QString& typed) {
    return QStringLiteral("% ") + typed + QLatin1Char('%');
}

}  // namespace torvane
