#pragma once

// Dates and times are held as values (QDate, minutes since midnight) and turned
// into text only for display and storage, with the active regional patterns.

#include <QDate>
#include <QString>
#include <optional>

namespace dataora {

// Two-digit years: 00-29 are 2000-2029, 30-99 are 1930-1999.
int AnnoDaDueCifre(int yy);

// Parses a date in the given pattern ("DD/MM/YY" or "MM/DD/YY"); any of "/", ".", "-"
// separates the parts, a four-digit year is taken as it is.
std::optional<QDate> LeggiData(const QString &testo, const QString &formatoData);
// Formats with "DD/MM/YY" or "MM/DD/YY" style patterns (also "DD/MM/YYYY").
QString ScriviData(const QDate &data, const QString &formatoData);

// Parses "h:mm", "hh.mm", "h:mm:ss", with an optional " AM"/" PM". Minutes since midnight.
std::optional<int> LeggiOra(const QString &testo);
// Formats minutes (and optional seconds) with "h:mm", "h:mm AM/PM", "h:mm:ss", "h:mm:ss AM/PM".
QString ScriviOra(int minuti, const QString &formatoOra, int secondi = 0);

// Compact forms of the local history files: ddmmyy and hhmm.
QString ScriviDataCompatta(const QDate &data);
std::optional<QDate> LeggiDataCompatta(const QString &testo);
QString ScriviOraCompatta(int minuti);
std::optional<int> LeggiOraCompatta(const QString &testo);

}  // namespace dataora
