#pragma once

#include <QString>

#include "core/dialogs.h"
#include "core/money.h"

namespace torvane {

// The NIF check letter of a number given as digits (leading digits only, as the
// old Val() read them); no message. "12345678" -> 'Z'.
QChar nifLetter(const QString& digits);

// The digits followed by their NIF letter, or the letter alone when letterOnly
// is set. An empty or short text shows a critical message and gives "".
QString CalcularNIF(Dialogs& dialogs, const QString& digits, bool letterOnly = false);

// True when the (upper-cased) text is digits plus their NIF letter. A short or
// non-numeric text shows "El NIF introducido no es correcto"; a wrong letter
// fails silently.
bool ValidarNIF(Dialogs& dialogs, const QString& nif);

// Checks a company CIF; upper-cases the caller's text in place. Failures show
// their critical message.
bool ValidarCIF(Dialogs& dialogs, QString& cif);

// The amount in Spanish words for printed receipts ("Un  mil Doscientos ...
// Euros con Cincuenta y Seis  centimos"). The doubled spaces are intended. Cents
// beyond the second decimal go to the nearest cent, halves to even.
QString MonedaLetras(Money amount, const QString& currencyWord);

// d/m/yyyy -> mm/dd/yyyy for date literals; the text is changed in place and returned.
QString FechaSQL(QString& date);

}  // namespace torvane
