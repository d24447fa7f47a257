#include "core/numbering.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "core/dialogs.h"
#include "core/session.h"
#include "core/settings_file.h"
#include "data/database.h"

#ifdef TORVANE_SQLITE_API
#include <sqlite3.h>

#include <QSqlDriver>
#endif

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

bool isReadableSeries(const QString& text) {
    if (text.size() > kMaxSeriesLength) return false;
    for (QChar c : text)
        if (c.category() == QChar::Other_Control) return false;
    return true;
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
    // Each complete group of ten replaces the ten, so the last complete group counts; a
    // trailing incomplete group is ignored.
    const qsizetype groups = read.size() / kSeriesCount;
    const qsizetype base = groups > 0 ? (groups - 1) * kSeriesCount : 0;
    QStringList notAsWritten;
    for (int i = 0; i < kSeriesCount; ++i) {
        const qsizetype at = base + i;
        if (at < read.size() && isReadableSeries(read[at])) {
            series[i] = read[at];
        } else {
            notAsWritten << QString::fromLatin1(kNames[i]) + QStringLiteral(" \"") + series[i] +
                                QLatin1Char('"');
        }
    }
    session.setSeries(series);
    if (notAsWritten.isEmpty()) return true;
    dialogs.exclamation(damagedSeriesFileMessage(notAsWritten));
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
        case Pick::DescendingFirst:
            // The greatest number. Among equals, the last row of an ascending sort is the
            // latest stored; the first row of a descending sort is the earliest stored.
            sql = QStringLiteral(
                      "SELECT \"%1\" FROM \"%2\" WHERE \"%1\" LIKE ? "
                      "ORDER BY \"%1\" DESC, \"%3\" %4 LIMIT 1")
                      .arg(c, t, k,
                           s.pick == Pick::AscendingLast ? QStringLiteral("DESC")
                                                         : QStringLiteral("ASC"));
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

// A stored number can only equal a candidate when, after the prefix, it holds a counter in
// the candidates' form: four digits, or more without a leading zero. Such a tail gives its
// counter; anything else gives nothing. Tails longer than 18 digits are never reached.
std::optional<qint64> candidateCounter(const char* tail, qsizetype size) {
    if (size < 4 || size > 18 || (size > 4 && tail[0] == '0')) return std::nullopt;
    qint64 v = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (tail[i] < '0' || tail[i] > '9') return std::nullopt;
        v = v * 10 + (tail[i] - '0');
    }
    return v;
}

// The counters of the stored candidates of a prefix, sorted, each once. A probe compares
// with "=" on a case-blind column, so wildcards in the prefix do not widen it and the range
// on that column ignores case the same way.
std::vector<qint64> usedCounters(Database& db, const QString& table, const QString& column,
                                 const QString& prefix) {
    const QString sql = QStringLiteral("SELECT \"%1\" FROM \"%2\" WHERE \"%1\" >= ? AND \"%1\" < ?")
                            .arg(column, table);
    const QString low = prefix + QLatin1Char('0');
    const QString high = prefix + QLatin1Char(':');
    std::vector<qint64> out;
#ifdef TORVANE_SQLITE_API
    // Straight through the engine: no value objects per row, which matters on 100,000 rows.
    const QVariant handle = db.handle().driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
        sqlite3* h = *static_cast<sqlite3* const*>(handle.constData());
        sqlite3_stmt* stmt = nullptr;
        const QByteArray sqlUtf8 = sql.toUtf8();
        const qsizetype prefixChars = prefix.toUcs4().size();
        if (h && sqlite3_prepare_v2(h, sqlUtf8.constData(), -1, &stmt, nullptr) == SQLITE_OK) {
            const QByteArray lowUtf8 = low.toUtf8();
            const QByteArray highUtf8 = high.toUtf8();
            sqlite3_bind_text(stmt, 1, lowUtf8.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(stmt, 2, highUtf8.constData(), -1, SQLITE_TRANSIENT);
            int rc;
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
                const int bytes = sqlite3_column_bytes(stmt, 0);
                if (!text) continue;
                // Skip the prefix's characters: a lead byte and its continuation bytes each.
                int at = 0;
                for (qsizetype chars = 0; at < bytes && chars < prefixChars; ++chars) {
                    ++at;
                    while (at < bytes && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
                        ++at;
                }
                if (auto v = candidateCounter(text + at, bytes - at)) out.push_back(*v);
            }
            sqlite3_finalize(stmt);
            if (rc == SQLITE_DONE) {
                std::sort(out.begin(), out.end());
                out.erase(std::unique(out.begin(), out.end()), out.end());
                return out;
            }
            out.clear();
        }
    }
#endif
    QSqlQuery q = db.execForward(sql, {low, high});
    while (q.next()) {
        const QByteArray tail = q.value(0).toString().mid(prefix.size()).toLatin1();
        if (auto v = candidateCounter(tail.constData(), tail.size())) out.push_back(*v);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

bool isUsed(const std::vector<qint64>& used, qint64 counter) {
    return std::binary_search(used.begin(), used.end(), counter);
}

QString withCounter(const QString& prefix, qint64 counter) {
    return prefix + padLeft(QString::number(counter), 4);
}

// Attempts are counted without the old 16-bit limit: past attempt 32767 the loop simply goes
// on, so a prefix without a date token keeps numbering however many documents it holds.
// Every attempt yields a larger counter than the one before, so the loop ends after at most
// (stored counters + 1) attempts.

// c = leading number of c + i: counters 1, 3, 6, 10, ... The stored counters are sorted, so
// one walk finds the first that is free.
qint64 firstFreeGrowing(const std::vector<qint64>& used) {
    auto it = used.begin();
    qint64 c = 0;
    for (qint64 i = 1;; ++i) {
        c += i;
        while (it != used.end() && *it < c) ++it;
        if (it == used.end() || *it != c) return c;
    }
}

QString probeGrowing(Database& db, const QString& table, const QString& column,
                     const QString& prefix) {
    return withCounter(prefix, firstFreeGrowing(usedCounters(db, table, column, prefix)));
}

// What ContadoresODT holds for a head (see schema.sql); a null bound is unknown.
struct CounterSummary {
    qint64 count = 0;
    std::optional<qint64> low;
    std::optional<qint64> high;
    bool operator==(const CounterSummary&) const = default;
};

// The summary row of a head (nullopt: no row). False when the file has no summary table.
bool readSummary(Database& db, const QString& head, std::optional<CounterSummary>* out) {
    try {
        QSqlQuery q = db.execForward(
            QStringLiteral(
                "SELECT Cuantos, Minimo, Maximo FROM ContadoresODT WHERE Cabeza = ? LIMIT 1"),
            {head});
        out->reset();
        if (q.next()) {
            CounterSummary s;
            s.count = q.value(0).toLongLong();
            if (!q.value(1).isNull()) s.low = q.value(1).toLongLong();
            if (!q.value(2).isNull()) s.high = q.value(2).toLongLong();
            *out = s;
        }
        return true;
    } catch (const DbError&) {
        return false;
    }
}

// The first free counter when the summary alone can tell it, else nullopt. Counters are
// distinct and at least 1, so count == greatest with smallest 1 means 1..greatest are all
// taken.
std::optional<qint64> decideFromSummary(const CounterSummary& s) {
    if (s.low && *s.low > 1) return 1;
    if (s.low && s.high && *s.low == 1 && *s.high == s.count) return *s.high + 1;
    return std::nullopt;
}

// Reads every stored counter of the head and, when the summary row says something else,
// rewrites it, so the next probe can answer from it again. Read and write share one
// savepoint so no other writer slips in between. A failed write (read-only file, busy
// file) only costs speed: the answer comes from what was read.
std::vector<qint64> readAndSummarise(Database& db, const QString& head,
                                     const std::optional<CounterSummary>& stored) {
    std::vector<qint64> used;
    try {
        db.execForward(QStringLiteral("SAVEPOINT probe_odt"));
        used = usedCounters(db, QStringLiteral("ODTS"), QStringLiteral("NODT"), head);
        const auto first = std::upper_bound(used.begin(), used.end(), qint64{0});
        std::optional<CounterSummary> now;
        if (first != used.end())
            now = CounterSummary{static_cast<qint64>(used.end() - first), *first, used.back()};
        if (now != stored) {
            if (now)
                db.execForward(QStringLiteral("INSERT OR REPLACE INTO ContadoresODT (Cabeza, "
                                              "Cuantos, Minimo, Maximo) VALUES (?, ?, ?, ?)"),
                               {head, now->count, *now->low, *now->high});
            else
                db.execForward(QStringLiteral("DELETE FROM ContadoresODT WHERE Cabeza = ?"),
                               {head});
        }
        db.execForward(QStringLiteral("RELEASE probe_odt"));
    } catch (const DbError&) {
        try {
            db.execForward(QStringLiteral("ROLLBACK TO probe_odt"));
            db.execForward(QStringLiteral("RELEASE probe_odt"));
        } catch (const DbError&) {
        }
        if (used.empty())
            used = usedCounters(db, QStringLiteral("ODTS"), QStringLiteral("NODT"), head);
    }
    return used;
}

}  // namespace

QString probeWorkOrderNumber(Database& db, const QString& prefix) {
    // A prefix that neither begins nor ends with a digit is the head of its candidates, and
    // they count 1, 2, 3, ...: the summary kept by the database answers most probes at once.
    std::optional<CounterSummary> stored;
    const bool summarised = !prefix.isEmpty() && !isAsciiDigit(prefix.front()) &&
                            !isAsciiDigit(prefix.back()) && readSummary(db, prefix, &stored);
    if (stored)
        if (const std::optional<qint64> n = decideFromSummary(*stored))
            return withCounter(prefix, *n);
    const std::vector<qint64> used =
        summarised ? readAndSummarise(db, prefix, stored)
                   : usedCounters(db, QStringLiteral("ODTS"), QStringLiteral("NODT"), prefix);
    // n = leading number of the previous candidate, prefix included, + i: 1, 2, 3, ...
    // after a prefix that does not begin with a digit, 1, 3, 6, ... with no prefix at all,
    // and the prefix's own digits in front otherwise.
    if (prefix.isEmpty()) return withCounter(prefix, firstFreeGrowing(used));
    if (!isAsciiDigit(prefix.front())) {
        qint64 i = 1;
        for (qint64 u : used) {  // sorted, each once: the first one out of step is free
            if (u < i) continue;
            if (u != i) break;
            ++i;
        }
        return withCounter(prefix, i);
    }
    QString t;
    for (qint64 i = 1;; ++i) {
        const QString lead = addToDecimal(leadingDigits(t), i);
        bool fits = false;
        const qint64 n = lead.size() <= 18 ? lead.toLongLong(&fits) : 0;
        t = prefix + padLeft(lead, 4);
        // A counter past 18 digits cannot be stored in a candidate's form (see above).
        if (!fits || !isUsed(used, n)) return t;
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

bool partsInvoiceNumberInUse(Database& db, const QString& number) {
    return db
        .scalar(QStringLiteral("SELECT 1 FROM Facturas WHERE Id_Fac = ? UNION ALL "
                               "SELECT 1 FROM Albaranes WHERE NFactura = ? LIMIT 1"),
                {number, number})
        .isValid();
}

QString freePartsInvoiceNumber(Database& db, const QString& prefix, const QString& candidate) {
    if (!partsInvoiceNumberInUse(db, candidate)) return candidate;
    const QString pattern = prefix + QLatin1Char('%');
    const QVariant greatest = db.scalar(
        QStringLiteral(
            "SELECT MAX(n) FROM (SELECT MAX(Id_Fac) AS n FROM Facturas WHERE Id_Fac "
            "LIKE ? UNION ALL SELECT MAX(NFactura) FROM Albaranes WHERE NFactura LIKE ?)"),
        {pattern, pattern});
    const QString last = greatest.isNull() ? QStringLiteral("a0") : greatest.toString();
    return NextNumber(last, prefix);
}

}  // namespace torvane
