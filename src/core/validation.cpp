#include "core/validation.h"

namespace torvane {

namespace {

const QString kNifLetters = QStringLiteral("TRWAGMYFPDXBNJZSQVHLCKE");

bool allDigits(const QString& s) {
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// Words of a group from 1 to 999; every word carries its trailing space.
QString groupWords(int n) {
    static const char* const hundreds[] = {"",
                                           "Ciento ",
                                           "Doscientos ",
                                           "Trescientos ",
                                           "Cuatrocientos ",
                                           "Quinientos ",
                                           "Seiscientos ",
                                           "Setecientos ",
                                           "Ochocientos ",
                                           "Novecientos "};
    static const char* const tens[] = {"",          "",           "Veinte ",  "Treinta ",
                                       "Cuarenta ", "Cincuenta ", "Sesenta ", "Setenta ",
                                       "Ochenta ",  "Noventa "};
    static const char* const teens[] = {"Diez ", "Once ", "Doce ", "Trece ", "Catorce ", "Quince "};
    static const char* const units[] = {"",       "Un ",   "Dos ",   "Tres ", "Cuatro ",
                                        "Cinco ", "Seis ", "Siete ", "Ocho ", "Nueve "};
    if (n <= 0 || n > 999) return {};
    QString out;
    const int h = n / 100;
    if (h == 1)
        out += n == 100 ? QStringLiteral("Cien ") : QStringLiteral("Ciento ");
    else
        out += QLatin1String(hundreds[h]);
    const int r = n % 100;
    const int u = n % 10;
    bool tensWritten = false;
    if (r >= 10 && r <= 15) {
        out += QLatin1String(teens[r - 10]);
        tensWritten = true;
    } else if (r >= 16 && r <= 19) {
        out += QStringLiteral("Diez ");
        tensWritten = true;
    } else if (r >= 20) {
        out += QLatin1String(tens[r / 10]);
        tensWritten = true;
    }
    if ((r < 10 || r > 15) && u != 0) {
        if (tensWritten) out += QStringLiteral("y ");
        out += QLatin1String(units[u]);
    }
    return out;
}

}  // namespace

QChar nifLetter(const QString& digits) {
    // Leading digits only, as Val() reads a number; the remainder is taken
    // digit by digit so long texts do not overflow.
    int rest = 0;
    for (QChar c : digits) {
        if (c < '0' || c > '9') break;
        rest = (rest * 10 + (c.unicode() - '0')) % 23;
    }
    return kNifLetters.at(rest);
}

QString CalcularNIF(Dialogs& dialogs, const QString& digits, bool letterOnly) {
    if (digits.isEmpty()) {
        dialogs.critical(QStringLiteral("No se han introducido datos"));
        return {};
    }
    if (digits.size() < 7) {
        dialogs.critical(QStringLiteral("No se puede calcular el NIF porque faltan dígitos"));
        return {};
    }
    const QChar letter = nifLetter(digits);
    return letterOnly ? QString(letter) : digits + letter;
}

bool ValidarNIF(Dialogs& dialogs, const QString& nif) {
    const QString upper = nif.toUpper();
    const QString digits = upper.left(upper.size() - 1);
    if (digits.size() < 7 || !allDigits(digits)) {
        dialogs.critical(QStringLiteral("El NIF introducido no es correcto"));
        return false;
    }
    return CalcularNIF(dialogs, digits) == upper;
}

bool ValidarCIF(Dialogs& dialogs, QString& cif) {
    cif = cif.toUpper();
    if (cif.size() < 9 || !allDigits(cif.mid(1, 7))) {
        dialogs.critical(QStringLiteral("El dato introducido no corresponde a un CIF"));
        return false;
    }
    const QChar first = cif.at(0);
    const QString digits = cif.mid(1, 7);
    const QString control = cif.mid(8);
    if (!QStringLiteral("ABCDEFGHKLMPQSX").contains(first)) {
        dialogs.critical(QStringLiteral("la letra introducida no corresponde a un CIF"));
        return false;
    }
    int sum = 0;
    for (int i = 0; i < 7; ++i) {
        const int d = digits.at(i).unicode() - '0';
        if (i % 2 == 0) {
            const int twice = d * 2;
            sum += twice / 10 + twice % 10;
        } else {
            sum += d;
        }
    }
    const int c = (10 - sum % 10) % 10;
    QString expected;
    if (QStringLiteral("KPQS").contains(first))
        expected = QString(QStringLiteral("JABCDEFGHI").at(c));
    else if (first == 'X')
        expected = CalcularNIF(dialogs, digits, true);
    else
        expected = QString::number(c);
    if (control == expected) return true;
    dialogs.critical(QStringLiteral("El cif no es correcto, el dígito de control no coincide"));
    return false;
}

QString MonedaLetras(Money amount, const QString& currencyWord) {
    if (amount.isZero()) return QStringLiteral("Cero");
    if (amount < Money()) return QStringLiteral("Sobregirado");
    const long long i = amount.units() / Money::kScale;
    const long long fraction = amount.units() % Money::kScale;  // ten-thousandths
    int cents = static_cast<int>(fraction / 100);
    const long long rest = fraction % 100;
    if (rest > 50 || (rest == 50 && cents % 2 == 1)) ++cents;  // halves to even
    const auto m = i / 1000000;
    const auto t = (i - m * 1000000) / 1000;
    const auto u = i - m * 1000000 - t * 1000;

    QString out;
    if (i == 0) {
        // Only cents: the receipt still names the amount in our own currency.
        out = QStringLiteral("Cero");
    } else {
        if (m > 0) {
            // Amounts beyond 999 millions are not written by group words.
            out += groupWords(static_cast<int>(m % 1000));
            out += m == 1 ? QStringLiteral("Millon ") : QStringLiteral("Millones ");
        }
        if (t > 0) out += groupWords(static_cast<int>(t)) + QStringLiteral(" mil ");
        out += groupWords(static_cast<int>(u));
    }
    out += QStringLiteral(" ") + currencyWord;
    if (cents != 0)
        out += QStringLiteral(" con ") + groupWords(cents) + QStringLiteral(" centimos");
    else
        out += QStringLiteral(" Netos");
    return out;
}

QString FechaSQL(QString& date) {
    if (date.size() == 8) {
        date.prepend('0');
        date.insert(3, '0');
    } else if (date.size() == 9) {
        if (date.at(1) == '/')
            date.prepend('0');
        else
            date.insert(3, '0');
    }
    date = date.mid(3, 3) + date.left(3) + date.right(4);
    return date;
}

}  // namespace torvane
