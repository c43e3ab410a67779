#pragma once

// Numeric and text conversions with the semantics the stored data and the
// server were built around: halves round to even, Int floors, numbers are read
// with "." or "," as decimal separator.

#include <QString>
#include <optional>

namespace vb {

// Round half to even, as CInt/CLng did. nullopt when out of range or not finite.
std::optional<int> CIntChecked(double x);
std::optional<long long> CLngChecked(double x);
// Same, clamped to the type's range (NaN gives 0) for callers that cannot fail.
int CInt(double x);
long long CLng(double x);
// Int(): the largest integer not above x.
double Int(double x);

// True when the text reads as a number (blanks around allowed, "." or ",",
// thousands separators, leading sign, exponent).
bool IsNumeric(const QString &testo);
// Reads a number accepting "." or "," as decimal separator and the other one as
// thousands separator ("1.234,5" and "1,234.5" both give 1234.5). nullopt if not a number.
std::optional<double> LeggiNumero(const QString &testo);
// LeggiNumero, or `predefinito` when the text is not a number.
double CDbl(const QString &testo, double predefinito = 0.0);
// Val(): the leading number of a text, "." only, blanks skipped, 0 when none.
double Val(const QString &testo);

// CStr of a Double: up to 15 significant digits, no trailing zeros, no exponent
// for ordinary magnitudes, with the given decimal separator.
QString CStr(double x, QChar separatoreDecimale = QLatin1Char('.'));
// Format(x, pattern) for number patterns made of "0", "#", "," and "." such as
// "0", "0.00", "#,##0.00", "0.0000"; halves round away from zero like the runtime.
QString Format(double x, const QString &pattern, QChar separatoreDecimale = QLatin1Char('.'),
               QChar separatoreMigliaia = QLatin1Char(','));

// The text a number is stored with: "." decimal separator, shortest round trip.
QString TestoNumero(double x);

}  // namespace vb
