#pragma once

// The fifteen tool pointers, read once from their files in "Sistema" (written
// there first when missing) and kept for the whole run.

#include <QCursor>
#include <QString>
#include <array>
#include <optional>

class CursoriStrumenti {
public:
    // Writes the missing files, then loads every pointer. A file that cannot be
    // read falls back to our own picture, so every tool always has its pointer.
    CursoriStrumenti(const QString &cartellaProgramma, const QString &cartellaSistema);

    // nullptr outside 1..15.
    const QCursor *Cursore(int numero) const;
    int File_Non_Scritti() const { return m_nonScritti; }
    int File_Non_Letti() const { return m_nonLetti; }

private:
    std::array<std::optional<QCursor>, 16> m_cursori;
    int m_nonScritti = 0;
    int m_nonLetti = 0;
};
