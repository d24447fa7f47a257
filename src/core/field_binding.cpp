#include "core/field_binding.h"

#include "core/format.h"

namespace torvane {

QString boundText(const QVariant& value, bool date) {
    if (value.isNull()) return {};
    if (date) return formatDate(value);
    if (value.typeId() == QMetaType::Double) {
        QString s = QString::number(value.toDouble(), 'f', 2);
        while (s.endsWith(QLatin1Char('0'))) s.chop(1);
        if (s.endsWith(QLatin1Char('.'))) s.chop(1);
        return s.replace(QLatin1Char('.'), QLatin1Char(','));
    }
    return value.toString();
}

}  // namespace torvane
