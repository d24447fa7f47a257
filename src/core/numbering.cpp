#include "core/numbering.h"

#include <QFileInfo>
#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "core/dialogs.h"
#include "core/session.h"
#include "core/settings_file.h"
#include "data/database.h"

namespace torvane {

namespace {

const char* const kDefaults[kSeriesCount] = {"AR&Año&/&Mes&/&", "AL&Año&/&Mes&/&", "A&Año&/&Mes&/&",
                                             "EN&Año&/&Mes&/&", "FV&Año&/&Mes&/&", "FL/&",
                                             "FR&Año&/&Mes&/&", "ODT/&",           "Año&/&Mes&/&",
                                             "PG&Mes&/&"};
const char* const kNames[kSeriesCount] = {"AR", "AL", "A",   "EN",  "FV",
                                          "FL", "FR", "ODT", "REC", "PG"};

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allDigits(QStringView s) {
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), isAsciiDigit);
}

// Adds a small whole number to a decimal digit string of any length.
QString addToDecimal(QString digits, qint64 add) {
    while (digits.size() > 1 && digits.front() == QLatin1Char('0')) digits.remove(0, 1);
    if (digits.isEmpty()) digits = QStringLiteral("0");
    if (add < 0) {
        // Only reachable with a negative increment: plain arithmetic is enough there.
        bool ok = false;
        const qint64 v = digits.toLongLong(&ok);
        return QString::number((ok ? v : 0) + add);
    }
    qint64 carry = add;
    for (qsizetype i = digits.size() - 1; i >= 0 && carry > 0; --i) {
        const qint64 sum = (digits[i].unicode() - '0') + carry;
        digits[i] = QChar(u'0' + static_cast<char16_t>(sum % 10));
        carry = sum / 10;
    }
    if (carry > 0) digits.prepend(QString::number(carry));
    return digits;
}

QString padLeft(const QString& digits, int width) {
    return digits.size() >= width ? digits
                                  : QString(width - digits.size(), QLatin1Char('0')) + digits;
}

// The leading run of decimal digits of a text ("" when it does not begin with a digit).
QString leadingDigits(const QString& text) {
    qsizetype n = 0;
    while (n < text.size() && isAsciiDigit(text[n])) ++n;
    return text.left(n);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Series texts

QStringList defaultSeries() {
    QStringList out;
    for (const char* d : kDefaults) out << QString::fromUtf8(d);
    return out;
}

QString defaultSeriesText(Series series) {
    return QString::fromUtf8(kDefaults[static_cast<int>(series)]);
}

QString seriesName(Series series) {
    return QString::fromLatin1(kNames[static_cast<int>(series)]);
}

QString seriesText(const Session& session, Series series) {
    const QStringList all = session.series();
    const int i = static_cast<int>(series);
    return i < all.size() ? all[i] : defaultSeriesText(series);
}

QString seriesPrefix(const Session& session, Series series) {
    return ExpandSeries(seriesText(session, series), session.today());
}

QString damagedSeriesFileMessage(const QStringList& defaultsInUse) {
    return QStringLiteral(
               "El archivo de numeraciones \"conf.fpl\" está dañado o incompleto y no "
               "se ha modificado. Se usan las numeraciones por defecto de: ") +
           defaultsInUse.join(QStringLiteral(", ")) +
           QStringLiteral(
               ". Guarde las numeraciones en Configuración > Numeraciones para "
               "rehacerlo.");
}

bool LoadSeries(Session& session, Dialogs& dialogs) {
    const QString path = session.programFile(QString::fromLatin1(kSeriesFile));
    if (!QFileInfo::exists(path)) {
        session.setSeries(defaultSeries());
        QString error;
        if (!writeSettingsFile(path, defaultSeries(), &error)) {
            dialogs.exclamation(
                QStringLiteral("No se ha podido crear el archivo de numeraciones ") + path +
                QStringLiteral(": ") + error +
                QStringLiteral(". Se usan las numeraciones por defecto."));
            return false;
        }
        return true;
    }

    const std::optional<QStringList> fields = readSettingsFile(path);
    const QStringList read = fields.value_or(QStringList{});
    QStringList series = defaultSeries();
    if (read.size() >= kSeriesCount) {
        // Each complete group of ten replaces the ten; a trailing incomplete group is ignored.
        const qsizetype groups = read.size() / kSeriesCount;
        for (qsizetype g = 0; g < groups; ++g)
            for (int i = 0; i < kSeriesCount; ++i) series[i] = read[g * kSeriesCount + i];
        session.setSeries(series);
        return true;
    }

    QStringList defaultsInUse;
    for (int i = 0; i < kSeriesCount; ++i) {
        if (i < read.size()) {
            series[i] = read[i];
        } else {
            defaultsInUse << QString::fromLatin1(kNames[i]) + QStringLiteral(" \"") + series[i] +
                                 QLatin1Char('"');
        }
    }
    session.setSeries(series);
    dialogs.exclamation(damagedSeriesFileMessage(defaultsInUse));
    return false;
}

bool SaveSeries(Session& session, const QStringList& series, QString* error) {
    QStringList ten = series.mid(0, kSeriesCount);
    while (ten.size() < kSeriesCount) ten << defaultSeriesText(static_cast<Series>(ten.size()));
    const QString path = session.programFile(QString::fromLatin1(kSeriesFile));
    QString reason;
    if (!writeSettingsFile(path, ten, &reason)) {
        if (error)
            *error = QStringLiteral("No se han podido guardar las numeraciones en ") + path +
                     QStringLiteral(": ") + reason +
                     QStringLiteral(". Siguen en vigor las numeraciones anteriores.");
        return false;
    }
    session.setSeries(ten);
    return true;
}

// ---------------------------------------------------------------------------------------
// Expansion and the next number

QString ExpandSeries(const QString& series, const QDate& date) {
    static const QString kYear = QString::fromUtf8("Año");
    static const QString kMonth = QStringLiteral("Mes");
    static const QString kDay = QStringLiteral("Dia");
    QString result;
    QString token;
    for (QChar c : series) {
        if (c != QLatin1Char('&')) {
            token.append(c);
            continue;
        }
        if (token == kYear)
            result += QStringLiteral("%1").arg(date.year() % 100, 2, 10, QLatin1Char('0'));
        else if (token == kMonth)
            result += QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0'));
        else if (token == kDay)
            result += QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0'));
        else
            result += token;
        token.clear();
    }
    return result;
}

// A run "reads as a number" when it is made of decimal digits only. Signs, spaces,
// exponents and decimal points are not part of a counter: with them a prefix ending in
// "-" (A05-) or " " would swallow its last character into the tail and every number
// would restart at 1.
QString numericTail(const QString& number) {
    qsizetype n = 0;
    while (n < number.size() && isAsciiDigit(number[number.size() - 1 - n])) ++n;
    return number.right(n);
}

QString NextNumber(const QString& last, const QString& prefix, int increment) {
    const QString tail = numericTail(last);
    const QString head = last.left(last.size() - tail.size());
    const QString counter = head == prefix
                                ? addToDecimal(tail.isEmpty() ? QStringLiteral("0") : tail, 1)
                                : QStringLiteral("1");
    return prefix + padLeft(addToDecimal(counter, increment), 5);
}

// ---------------------------------------------------------------------------------------
// Consumers that continue from a stored number

namespace {

enum class Pick { StoredLast, AscendingLast, DescendingFirst, TableLast };

struct ConsumerSource {
    Series series;
    const char* table;
    const char* column;
    const char* key;
    Pick pick;
    bool checksSeriesFile;
};

ConsumerSource sourceOf(NumberConsumer c) {
    switch (c) {
        case NumberConsumer::CounterSaleDeliveryNote:
            return {Series::AR, "Albaranes", "Id_Alb", "Id", Pick::AscendingLast, false};
        case NumberConsumer::WorkOrderDeliveryNote:
            return {Series::AL, "ODTS", "NAlbaran", "Id_ODT", Pick::StoredLast, false};
        case NumberConsumer::PurchaseEntry:
            return {Series::EN, "Entradas", "NEntrada", "Id_Ent", Pick::TableLast, false};
        case NumberConsumer::CounterSaleInvoice:
            return {Series::FV, "Albaranes", "NFactura", "Id", Pick::StoredLast, false};
        case NumberConsumer::SalesListInvoiceProposal:
            return {Series::FV, "Albaranes", "NFactura", "Id", Pick::DescendingFirst, false};
        case NumberConsumer::SalesMultiInvoice:
            return {Series::FV, "Facturas", "Id_Fac", "Id", Pick::StoredLast, false};
        case NumberConsumer::FreeInvoice:
            return {Series::FL, "FacturasLibres", "NFactura", "Id", Pick::TableLast, false};
        case NumberConsumer::WorkOrderInvoice:
            return {Series::FR, "FacturasODT", "NFactura", "Id_FAct", Pick::StoredLast, false};
        case NumberConsumer::WorkOrderListInvoiceProposal:
            return {Series::FR, "ODTS", "NFactura", "Id_ODT", Pick::DescendingFirst, false};
        case NumberConsumer::WorkOrderMultiInvoice:
            return {Series::FR, "ODTS", "NFactura", "Id_ODT", Pick::AscendingLast, false};
        case NumberConsumer::WorkOrderFromVehicleSearch:
            return {Series::ODT, "ODTS", "NODT", "Id_ODT", Pick::AscendingLast, true};
        case NumberConsumer::Receipt:
            return {Series::REC, "Recibos", "NRecibo", "Id", Pick::DescendingFirst, false};
        case NumberConsumer::TowReportScreen:
            return {Series::PG, "Partes", "NParte", "Id", Pick::AscendingLast, true};
    }
    return {Series::AR, "Albaranes", "Id_Alb", "Id", Pick::AscendingLast, false};
}

}  // namespace

Series seriesOf(NumberConsumer consumer) {
    return sourceOf(consumer).series;
}

QString lastNumber(Database& db, NumberConsumer consumer, const QString& prefix) {
    const ConsumerSource s = sourceOf(consumer);
    const QString t = QString::fromLatin1(s.table);
    const QString c = QString::fromLatin1(s.column);
    const QString k = QString::fromLatin1(s.key);
    QString sql;
    QVariantList params;
    // The prefix is a LIKE pattern on purpose: its own "%" and "_" stay wildcards.
    const QString pattern = prefix + QLatin1Char('%');
    switch (s.pick) {
        case Pick::StoredLast:
            // Latest stored row of the prefix. The index tells at once whether there is one;
            // then the rows are walked from the newest, which finds it among the latest.
            if (!db.scalar(
                       QStringLiteral("SELECT 1 FROM \"%1\" WHERE \"%2\" LIKE ? LIMIT 1").arg(t, c),
                       {pattern})
                     .isValid())
                return QStringLiteral("a0");
            sql = QStringLiteral(
                      "SELECT \"%1\" FROM \"%2\" WHERE +\"%1\" LIKE ? "
                      "ORDER BY \"%3\" DESC LIMIT 1")
                      .arg(c, t, k);
            params << pattern;
            break;
        case Pick::AscendingLast:
            // Last row of an ascending sort: the greatest, and the latest stored among equals.
            sql = QStringLiteral(
                      "SELECT \"%1\" FROM \"%2\" WHERE \"%1\" LIKE ? "
                      "ORDER BY \"%1\" DESC, \"%3\" DESC LIMIT 1")
                      .arg(c, t, k);
            params << pattern;
            break;
        case Pick::DescendingFirst:
            sql = QStringLiteral(
                      "SELECT \"%1\" FROM \"%2\" WHERE \"%1\" LIKE ? "
                      "ORDER BY \"%1\" DESC, \"%3\" ASC LIMIT 1")
                      .arg(c, t, k);
            params << pattern;
            break;
        case Pick::TableLast:
            sql = QStringLiteral("SELECT \"%1\" FROM \"%2\" ORDER BY \"%3\" DESC LIMIT 1")
                      .arg(c, t, k);
            break;
    }
    QSqlQuery q = db.exec(sql, params);
    if (!q.next()) return QStringLiteral("a0");
    return q.value(0).toString();
}

QString nextNumberIn(Database& db, NumberConsumer consumer, const QString& prefix, int increment) {
    return NextNumber(lastNumber(db, consumer, prefix), prefix, increment);
}

QString nextDocumentNumber(Session& session, NumberConsumer consumer, int increment) {
    const QString prefix = seriesPrefix(session, sourceOf(consumer).series);
    return nextNumberIn(session.db(), consumer, prefix, increment);
}

QString missingSeriesFileMessage(const Session& session) {
    return QStringLiteral("No se encuentra el archivo en la ruta ") + session.programFolder() +
           QLatin1Char('\\');
}

QString nextDocumentNumber(Session& session, Dialogs& dialogs, NumberConsumer consumer,
                           int increment) {
    if (sourceOf(consumer).checksSeriesFile &&
        !QFileInfo::exists(session.programFile(QString::fromLatin1(kSeriesFile)))) {
        dialogs.message(missingSeriesFileMessage(session));
        return QStringLiteral("1");
    }
    return nextDocumentNumber(session, consumer, increment);
}

// ---------------------------------------------------------------------------------------
// Probe loops

namespace {

// Every candidate of the probe loops is the prefix followed by a counter padded to four
// digits, so a stored number can only be a candidate when, after the prefix, it holds
// such a counter. Reads those counters once; the loops then run in memory. A probe
// compares with "=", so wildcards in the prefix do not widen it; the range on the
// NOCASE column matches the way that comparison ignores case.
std::vector<QString> usedCounters(Database& db, const QString& table, const QString& column,
                                  const QString& prefix) {
    const QString sql =
        QStringLiteral("SELECT substr(\"%1\", ?) FROM \"%2\" WHERE \"%1\" >= ? AND \"%1\" < ?")
            .arg(column, table);
    QSqlQuery q = db.execForward(
        sql, {prefix.size() + 1, prefix + QLatin1Char('0'), prefix + QLatin1Char(':')});
    std::vector<QString> out;
    while (q.next()) {
        QString tail = q.value(0).toString();
        if (!allDigits(tail)) continue;
        // "0012" is counter 12, "10000" is counter 10000; "00012" is no candidate.
        if (tail.size() > 4 && tail.front() == QLatin1Char('0')) continue;
        if (tail.size() < 4) continue;
        out.push_back(std::move(tail));
    }
    std::sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return out;
}

bool contains(const std::vector<QString>& used, const QString& counter) {
    return std::binary_search(used.begin(), used.end(), counter,
                              [](const QString& a, const QString& b) {
                                  return a.size() != b.size() ? a.size() < b.size() : a < b;
                              });
}

// Attempts are counted without the old 16-bit limit: past attempt 32767 the loop simply goes
// on, so a prefix without a date token keeps numbering however many documents it holds.
// Every attempt yields a counter greater than the one before, so the loop ends after at most
// (stored counters + 1) attempts.

enum class Sequence { Linear, Triangular };

// The common case in one aggregate: when the stored candidates of the sequence are exactly
// its first D members (no gap), the loop would stop at member D + 1. Returns that member's
// counter, or nothing when there is a gap (or the engine lacks sqrt), in which case the
// loop is run in memory. Rows are grouped on the number itself, so a number stored twice
// counts once, as the "=" probe sees it.
std::optional<qint64> denseNextMember(Database& db, const QString& table, const QString& column,
                                      const QString& prefix, Sequence sequence) {
    // k is the attempt that produces counter n: n itself, or the k with k(k+1)/2 = n.
    const QString member =
        sequence == Sequence::Linear
            ? QStringLiteral("n AS k")
            : QStringLiteral("CAST((sqrt(8.0 * n + 1) - 1) / 2 AS INTEGER) AS k");
    const QString memberTest =
        sequence == Sequence::Linear
            ? QStringLiteral("1")
            : QStringLiteral("n <= 1000000000000000 AND k * (k + 1) / 2 = n");
    const QString sql =
        QStringLiteral(
            "SELECT COUNT(*) AS c, MIN(k) AS lo, MAX(k) AS hi FROM ("
            " SELECT MIN(k) AS k FROM ("
            "  SELECT v, n, %4 FROM ("
            "   SELECT \"%1\" AS v, CAST(substr(\"%1\", ?) AS INTEGER) AS n,"
            "          substr(\"%1\", ?) AS tail"
            "   FROM \"%2\" WHERE \"%1\" >= ? AND \"%1\" < ?)"
            "  WHERE n >= 1 AND tail = CASE WHEN n < 10000 THEN substr(10000 + n, 2)"
            "                               ELSE CAST(n AS TEXT) END)"
            " WHERE %3 GROUP BY v)")
            .arg(column, table, memberTest, member);
    const qsizetype start = prefix.size() + 1;
    std::optional<Row> row;
    try {
        row =
            db.firstRow(sql, {start, start, prefix + QLatin1Char('0'), prefix + QLatin1Char(':')});
    } catch (const DbError&) {
        return std::nullopt;
    }
    if (!row) return std::nullopt;
    const qint64 count = row->value(QStringLiteral("c")).toLongLong();
    if (count == 0) return 1;
    const qint64 first = row->value(QStringLiteral("lo")).toLongLong();
    const qint64 last = row->value(QStringLiteral("hi")).toLongLong();
    if (first != 1 || last != count) return std::nullopt;
    const qint64 k = count + 1;
    return sequence == Sequence::Linear ? k : k * (k + 1) / 2;
}

// c = leading number of c + i: counters 1, 3, 6, 10, ...
QString probeGrowing(Database& db, const QString& table, const QString& column,
                     const QString& prefix) {
    if (auto next = denseNextMember(db, table, column, prefix, Sequence::Triangular))
        return prefix + padLeft(QString::number(*next), 4);
    const std::vector<QString> used = usedCounters(db, table, column, prefix);
    QString c;
    for (qint64 i = 1;; ++i) {
        c = padLeft(addToDecimal(leadingDigits(c), i), 4);
        if (!contains(used, c)) return prefix + c;
    }
}

}  // namespace

QString probeWorkOrderNumber(Database& db, const QString& prefix) {
    const QString table = QStringLiteral("ODTS");
    const QString column = QStringLiteral("NODT");
    // n = leading number of the previous candidate (prefix included) + i: 1, 2, 3, ... after
    // a prefix that does not begin with a digit; 1, 3, 6, ... with no prefix at all.
    if (prefix.isEmpty() || !isAsciiDigit(prefix.front())) {
        const Sequence seq = prefix.isEmpty() ? Sequence::Triangular : Sequence::Linear;
        if (auto next = denseNextMember(db, table, column, prefix, seq))
            return prefix + padLeft(QString::number(*next), 4);
    }
    const std::vector<QString> used = usedCounters(db, table, column, prefix);
    QString t;
    for (qint64 i = 1;; ++i) {
        const QString n = padLeft(addToDecimal(leadingDigits(t), i), 4);
        t = prefix + n;
        if (!contains(used, n)) return t;
    }
}

QString probeArticleCode(Database& db, const QString& prefix) {
    return probeGrowing(db, QStringLiteral("Articulos"), QStringLiteral("Codigo"), prefix);
}

QString probeTowReportNumber(Database& db, const QString& prefix) {
    return probeGrowing(db, QStringLiteral("Partes"), QStringLiteral("NParte"), prefix);
}

QString nextWorkOrderNumberByProbe(Session& session) {
    return probeWorkOrderNumber(session.db(), seriesPrefix(session, Series::ODT));
}

QString nextArticleCode(Session& session) {
    return probeArticleCode(session.db(), seriesPrefix(session, Series::A));
}

QString nextTowReportNumberByProbe(Session& session) {
    return probeTowReportNumber(session.db(), seriesPrefix(session, Series::PG));
}

}  // namespace torvane
