#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The sentences the user has run, newest last, and the browsing through them that Up
// and Down do in a sentence box. The expression box and the console's two boxes share
// one history, as J's own console does.
//
// The file keeps one entry a line in UTF-8. Inside an entry a backslash is written \\,
// a line feed \n and a carriage return \r, so a multi-line script stays one entry; its
// CR LF line ends are kept as LF. A file that cannot be read or written is passed over
// quietly: the history then lives in memory only.
class SentenceHistory {
public:
    // The newest entries are kept, at most this many and this many characters together;
    // a sentence longer than kMaxEntryChars is not kept at all.
    static constexpr int kMaxEntries = 1000;
    static constexpr qsizetype kMaxChars = 1'000'000;
    static constexpr qsizetype kMaxEntryChars = 100'000;

    // Loads the file; an empty name keeps the history in memory only.
    explicit SentenceHistory(QString fileName = {});

    // Adds a sentence as the newest and saves the file; a blank sentence or a repeat of
    // the newest is not stored. Browsing starts again from the newest.
    void add(const QString& sentence);

    // One step older; on the first step current (what the box holds) is remembered.
    // nullopt at the oldest entry or when there is none: the box keeps its text.
    std::optional<QString> older(const QString& current);
    // One step newer; past the newest, the remembered text. nullopt when not browsing.
    std::optional<QString> newer();
    void resetBrowsing();

    const QStringList& entries() const { return m_entries; }  // oldest first
    const QString& fileName() const { return m_fileName; }
    // False when the file could not be written.
    bool save() const;

private:
    void load();
    bool keeps(const QString& entry) const;  // not blank, not too long, not the newest again
    void trim();

    QString m_fileName;
    QStringList m_entries;
    qsizetype m_chars = 0;
    qsizetype m_position = 0;  // the entry shown while browsing; entries().size() when not
    QString m_typed;
};
