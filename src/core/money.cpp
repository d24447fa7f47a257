#include "core/money.h"
#include "core/percent.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace torvane {

namespace {

constexpr int kDecimals = 4;
// More integer digits than this would not fit four decimals in 64 bits.
constexpr std::size_t kMaxIntegerDigits = 14;

__extension__ using Int128 = __int128;

Int128 pow10(int n) {
    Int128 p = 1;
    for (int i = 0; i < n; ++i) p *= 10;
    return p;
}

bool allDigits(std::string_view s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// digits before and after the decimal mark → ten-thousandths, halves to even.
std::optional<std::int64_t> toUnits(std::string_view whole, std::string_view fraction,
                                    bool negative) {
    while (whole.size() > 1 && whole.front() == '0') whole.remove_prefix(1);
    if (whole.size() > kMaxIntegerDigits || !allDigits(whole) || !allDigits(fraction))
        return std::nullopt;
    std::int64_t v = 0;
    for (char c : whole) v = v * 10 + (c - '0');
    for (int i = 0; i < kDecimals; ++i)
        v = v * 10 + (i < int(fraction.size()) ? fraction[std::size_t(i)] - '0' : 0);
    if (fraction.size() > std::size_t(kDecimals)) {
        const std::string_view rest = fraction.substr(kDecimals);
        const char first = rest.front();
        const bool beyondHalf = rest.find_first_not_of('0', 1) != std::string_view::npos;
        if (first > '5' || (first == '5' && (beyondHalf || v % 2 != 0))) ++v;
    }
    return negative ? -v : v;
}

bool groupedInThrees(std::string_view whole) {
    std::size_t start = 0;
    bool first = true;
    while (true) {
        const std::size_t dot = whole.find('.', start);
        const std::size_t len = (dot == std::string_view::npos ? whole.size() : dot) - start;
        if (first ? (len < 1 || len > 3) : len != 3) return false;
        if (dot == std::string_view::npos) return true;
        first = false;
        start = dot + 1;
    }
}

std::string withoutDots(std::string_view s) {
    std::string out;
    for (char c : s)
        if (c != '.') out += c;
    return out;
}

std::optional<std::int64_t> parseUnits(const QString& text) {
    QString t = text.trimmed();
    if (t.endsWith(QChar(0x20AC))) t = t.chopped(1).trimmed();
    const std::string s = t.toStdString();
    std::string_view v = s;
    const bool negative = !v.empty() && v.front() == '-';
    if (negative) v.remove_prefix(1);
    if (v.empty()) return std::nullopt;

    const std::size_t comma = v.find(',');
    std::string whole;
    std::string_view fraction;
    if (comma != std::string_view::npos) {
        if (v.find(',', comma + 1) != std::string_view::npos) return std::nullopt;
        const std::string_view head = v.substr(0, comma);
        fraction = v.substr(comma + 1);
        if (head.find('.') != std::string_view::npos) {
            if (!groupedInThrees(head)) return std::nullopt;
            whole = withoutDots(head);
        } else {
            whole = std::string(head);
        }
    } else {
        const std::size_t dot = v.find('.');
        if (dot == std::string_view::npos) {
            whole = std::string(v);
        } else if (v.find('.', dot + 1) == std::string_view::npos) {
            // A lone "." is the decimal comma typed with the other key.
            whole = std::string(v.substr(0, dot));
            fraction = v.substr(dot + 1);
        } else {
            if (!groupedInThrees(v)) return std::nullopt;
            whole = withoutDots(v);
        }
    }
    if (whole.empty() && fraction.empty()) return std::nullopt;
    if (whole.empty()) whole.push_back('0');  // ",5" (assigning a literal trips GCC 12 -O3)
    return toUnits(whole, fraction, negative);
}

std::int64_t unitsFromDouble(double value) {
    if (!std::isfinite(value)) return 0;
    // The shortest fixed-point text that reads back as the same double.
    std::array<char, 400> buf{};
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
    if (res.ec != std::errc()) return 0;
    std::string_view v(buf.data(), std::size_t(res.ptr - buf.data()));
    const bool negative = !v.empty() && v.front() == '-';
    if (negative) v.remove_prefix(1);
    const std::size_t dot = v.find('.');
    const std::string_view whole = v.substr(0, dot);
    const std::string_view fraction =
        dot == std::string_view::npos ? std::string_view() : v.substr(dot + 1);
    return toUnits(whole, fraction, negative).value_or(0);
}

QString groupedWhole(std::int64_t whole) {
    QString s = QString::number(whole);
    for (qsizetype i = s.size() - 3; i > 0; i -= 3) s.insert(i, QLatin1Char('.'));
    return s;
}

}  // namespace

// --- Quantity ---------------------------------------------------------------------------

Quantity Quantity::fromDouble(double value) {
    return fromUnits(unitsFromDouble(value));
}

Quantity Quantity::fromDb(const QVariant& value) {
    return fromUnits(Money::fromDb(value).units());
}

std::optional<Quantity> Quantity::parse(const QString& text) {
    const auto units = parseUnits(text);
    if (!units) return std::nullopt;
    return fromUnits(*units);
}

// --- ExactAmount ------------------------------------------------------------------------

ExactAmount::ExactAmount(Money m) : n_(m.units()), scale_(kDecimals) {}

ExactAmount ExactAmount::aligned(const ExactAmount& v, int scale) {
    return ExactAmount(v.n_ * pow10(scale - v.scale_), scale);
}

namespace {
// Drops trailing zero decimals so that chained products stay far from overflow.
void normalise(Int128& n, int& scale) {
    while (scale > kDecimals && n % 10 == 0) {
        n /= 10;
        --scale;
    }
}
}  // namespace

ExactAmount ExactAmount::operator*(Quantity q) const {
    Int128 n = n_ * q.units();
    int scale = scale_ + kDecimals;
    normalise(n, scale);
    return ExactAmount(n, scale);
}

ExactAmount ExactAmount::percent(Quantity rate) const {
    Int128 n = n_ * rate.units();
    int scale = scale_ + kDecimals + 2;
    normalise(n, scale);
    return ExactAmount(n, scale);
}

ExactAmount ExactAmount::operator+(const ExactAmount& o) const {
    const int scale = std::max(scale_, o.scale_);
    Int128 n = aligned(*this, scale).n_ + aligned(o, scale).n_;
    int s = scale;
    normalise(n, s);
    return ExactAmount(n, s);
}

ExactAmount ExactAmount::operator-(const ExactAmount& o) const {
    return *this + ExactAmount(-o.n_, o.scale_);
}

Money ExactAmount::rounded(int decimals, bool halfEven) const {
    if (scale_ <= decimals) return Money::fromUnits(std::int64_t(aligned(*this, kDecimals).n_));
    const Int128 d = pow10(scale_ - decimals);
    Int128 q = n_ / d;
    const Int128 r = n_ % d;
    const Int128 twice = (r < 0 ? -r : r) * 2;
    if (twice > d || (twice == d && (!halfEven || q % 2 != 0))) q += (n_ < 0 ? -1 : 1);
    return Money::fromUnits(std::int64_t(q * pow10(kDecimals - decimals)));
}

Money ExactAmount::roundCents() const {
    return rounded(2, false);
}

Money ExactAmount::toCurrency() const {
    return rounded(kDecimals, true);
}

// --- Money ------------------------------------------------------------------------------

Money Money::fromDouble(double value) {
    return fromUnits(unitsFromDouble(value));
}

Money Money::fromDb(const QVariant& value) {
    if (value.isNull() || !value.isValid()) return {};
    switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            return fromDouble(value.toDouble());
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            return whole(value.toLongLong());
        case QMetaType::QString:
            return parse(value.toString()).value_or(Money());
        default:
            return fromDouble(value.toDouble());
    }
}

std::optional<Money> Money::parse(const QString& text) {
    const auto units = parseUnits(text);
    if (!units) return std::nullopt;
    return fromUnits(*units);
}

Money Money::roundCents() const {
    return ExactAmount(*this).roundCents();
}

Money Money::shareCents(std::int64_t n) const {
    if (n <= 0) return *this;
    const Int128 d = Int128(n) * 100;
    Int128 q = v_ / d;
    const Int128 r = v_ % d;
    if ((r < 0 ? -r : r) * 2 >= d) q += (v_ < 0 ? -1 : 1);
    return fromCents(std::int64_t(q));
}

Quantity percentOf(Money amount, Money base, int decimals) {
    if (base.isZero()) return {};
    decimals = std::clamp(decimals, 0, 4);
    std::int64_t step = Quantity::kScale;  // units of one step of the last decimal
    for (int i = 0; i < decimals; ++i) step /= 10;
    // Steps of the percentage: amount x 100 x (kScale / step) / base.
    const Int128 num = Int128(amount.units()) * 100 * (Quantity::kScale / step), den = base.units();
    Int128 q = num / den;
    const Int128 r = num % den;
    if ((r < 0 ? -r : r) * 2 >= (den < 0 ? -den : den)) q += ((num < 0) != (den < 0)) ? -1 : 1;
    return Quantity::fromUnits(std::int64_t(q) * step);
}

QString Money::format() const {
    const std::int64_t cents = roundCents().units() / 100;
    const std::int64_t a = cents < 0 ? -cents : cents;
    return (cents < 0 ? QStringLiteral("-") : QString()) + groupedWhole(a / 100) +
           QLatin1Char(',') + QStringLiteral("%1").arg(a % 100, 2, 10, QLatin1Char('0'));
}

QString Money::formatEuro() const {
    return format() + QStringLiteral(" ") + QChar(0x20AC);
}

QString Money::toPlainString() const {
    const std::int64_t a = v_ < 0 ? -v_ : v_;
    QString s = QString::number(a / kScale);
    if (a % kScale != 0) {
        QString frac = QStringLiteral("%1").arg(a % kScale, kDecimals, 10, QLatin1Char('0'));
        while (frac.endsWith(QLatin1Char('0'))) frac.chop(1);
        s += QLatin1Char('.') + frac;
    }
    return (v_ < 0 ? QStringLiteral("-") : QString()) + s;
}

}  // namespace torvane
