#pragma once

// Dates and times are held as values (QDate, minutes since midnight) and turned
// into text only for display and storage, with the active regional patterns.

#include <QDate>
#include <QString>
#include <optional>

namespace dataora {

int AnnoCorrente();

// Two-digit years slide with the calendar: the century that puts the year within
// annoOggi - 79 .. annoOggi + 20 (in 2026: 00-46 are 2000-2046, 47-99 are 1947-1999).
// Every reader of a two-digit year goes through here.
int AnnoDaDueCifre(int yy, int annoOggi = AnnoCorrente());
// True when the year, written with its last two digits, reads back as itself.
bool AnnoInDueCifre(int anno, int annoOggi = AnnoCorrente());

// Parses a date in the given pattern ("DD/MM/YY" or "MM/DD/YY"); any of "/", ".", "-"
// separates the parts, a four-digit year is taken as it is.
std::optional<QDate> LeggiData(const QString &testo, const QString &formatoData, int annoOggi = AnnoCorrente());
// Formats with "DD/MM/YY" or "MM/DD/YY" style patterns (also "DD/MM/YYYY").
QString ScriviData(const QDate &data, const QString &formatoData);

// Parses "h:mm", "hh.mm", "h:mm:ss", with an optional " AM"/" PM". Minutes since midnight.
std::optional<int> LeggiOra(const QString &testo);
// Formats minutes (and optional seconds) with "h:mm", "h:mm AM/PM", "h:mm:ss", "h:mm:ss AM/PM".
QString ScriviOra(int minuti, const QString &formatoOra, int secondi = 0);

// Compact forms of the local history files: ddmmyy and hhmm.
QString ScriviDataCompatta(const QDate &data);
std::optional<QDate> LeggiDataCompatta(const QString &testo, int annoOggi = AnnoCorrente());
QString ScriviOraCompatta(int minuti);
std::optional<int> LeggiOraCompatta(const QString &testo);

}  // namespace dataora
