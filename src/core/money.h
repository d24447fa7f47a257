#pragma once

#include <QString>
#include <QVariant>
#include <compare>
#include <cstdint>
#include <optional>

namespace torvane {

class Money;

// A quantity that multiplies an amount: units, hours, a percentage rate. Four decimals,
// like the amounts, so "3,25" hours or "12,5" % are held exactly.
class Quantity {
  public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Quantity() = default;
    static constexpr Quantity fromUnits(std::int64_t tenThousandths) {
        Quantity q;
        q.v_ = tenThousandths;
        return q;
    }
    static constexpr Quantity whole(std::int64_t n) { return fromUnits(n * kScale); }
    // Four decimals, halves to even; a double is read as the shortest decimal that
    // gives it back (a stored 0.1 is 0,1, not 0,1000000000000000055...).
    static Quantity fromDouble(double value);
    // The database side: REAL, INTEGER or text ("3,25" or "3.25"); NULL or junk reads 0.
    static Quantity fromDb(const QVariant& value);
    // Text as typed: the same formats as Money::parse.
    static std::optional<Quantity> parse(const QString& text);

    constexpr std::int64_t units() const { return v_; }
    double toDouble() const { return double(v_) / kScale; }
    QVariant toDb() const { return toDouble(); }

    constexpr auto operator<=>(const Quantity&) const = default;
    constexpr Quantity operator-() const { return fromUnits(-v_); }
    constexpr Quantity operator+(Quantity o) const { return fromUnits(v_ + o.v_); }
    constexpr Quantity operator-(Quantity o) const { return fromUnits(v_ - o.v_); }

  private:
    std::int64_t v_ = 0;
};

// A product or share before it is rounded: units × price, an amount's percentage.
// Kept exact (a 128-bit integer over a power of ten) so a line rounds only once.
class ExactAmount {
  public:
    ExactAmount() = default;
    ExactAmount(Money m);  // NOLINT: every amount is an exact value

    ExactAmount operator*(Quantity q) const;
    ExactAmount operator+(const ExactAmount& o) const;
    ExactAmount operator-(const ExactAmount& o) const;
    // rate % of this value.
    ExactAmount percent(Quantity rate) const;
    // This value less rate %: a line's discount.
    ExactAmount lessPercent(Quantity rate) const { return *this - percent(rate); }

    // To cents, halves away from zero: what "#,##0.00" shows and what is invoiced.
    Money roundCents() const;
    // Converted to currency: four decimals, halves to even.
    Money toCurrency() const;

  private:
    __extension__ using Int = __int128;
    ExactAmount(Int n, int scale) : n_(n), scale_(scale) {}
    static ExactAmount aligned(const ExactAmount& v, int scale);
    Money rounded(int decimals, bool halfEven) const;

    Int n_ = 0;      // value = n_ / 10^scale_
    int scale_ = 4;  // decimals
};

// An amount in euros: fixed point with four decimals, never double arithmetic.
class Money {
  public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(std::int64_t tenThousandths) {
        Money m;
        m.v_ = tenThousandths;
        return m;
    }
    static constexpr Money fromCents(std::int64_t cents) { return fromUnits(cents * 100); }
    static constexpr Money whole(std::int64_t euros) { return fromUnits(euros * kScale); }
    // Converted to currency (four decimals, halves to even) from the shortest decimal that
    // gives the double back: 117.968 stored by an older file reads 117,968 exactly.
    static Money fromDouble(double value);
    // The database side: amounts are stored as REAL; older files may hold more than two
    // decimals or text. NULL and unreadable text read as 0.
    static Money fromDb(const QVariant& value);
    // Text typed or shown on screen: "1.234,50", "1234,5", "-12,3", "12." (a typed "." is
    // the decimal comma), "1.234,50 €". "." is a thousands mark only before a ","
    // or when the text is grouped in threes by more than one ".". Decimals beyond the
    // fourth are converted to currency. Anything else: no value.
    static std::optional<Money> parse(const QString& text);

    constexpr std::int64_t units() const { return v_; }
    double toDouble() const { return double(v_) / kScale; }
    QVariant toDb() const { return toDouble(); }
    bool isZero() const { return v_ == 0; }

    // Halves away from zero: 99,585 → 99,59; -0,005 → -0,01.
    Money roundCents() const;
    // "#,##0.00": "1.234,50", "-12,30"; a value that rounds to 0 prints "0,00".
    QString format() const;
    // "#,##0.00 €".
    QString formatEuro() const;
    // The value with four decimals at most and a decimal point, for the database and files.
    QString toPlainString() const;

    constexpr auto operator<=>(const Money&) const = default;
    constexpr Money operator-() const { return fromUnits(-v_); }
    constexpr Money operator+(Money o) const { return fromUnits(v_ + o.v_); }
    constexpr Money operator-(Money o) const { return fromUnits(v_ - o.v_); }
    constexpr Money& operator+=(Money o) {
        v_ += o.v_;
        return *this;
    }
    constexpr Money& operator-=(Money o) {
        v_ -= o.v_;
        return *this;
    }
    constexpr Money operator*(std::int64_t n) const { return fromUnits(v_ * n); }
    ExactAmount operator*(Quantity q) const { return ExactAmount(*this) * q; }
    ExactAmount percent(Quantity rate) const { return ExactAmount(*this).percent(rate); }
    // One of n equal shares, to cents (halves away from zero); n > 0.
    Money shareCents(std::int64_t n) const;

  private:
    std::int64_t v_ = 0;
};

}  // namespace torvane
