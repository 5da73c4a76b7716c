#pragma once

#include <QString>
#include <QVariantList>
#include <array>
#include <vector>

// The three ways to look a term up: by the Chinese search key, by the Japanese
// search key (a hiragana reading), or by the English word.
enum class DicSearchKind { Chinese, Japanese, English };

// One result row: the seven term fields in the grid order of its search, the
// searched language first. A null field is an empty text.
using DicRow = std::array<QString, 7>;

struct DicSearchResult {
    bool ok = false;
    QString error;  // when !ok: the file and the reason, lines joined by CR
    std::vector<DicRow> rows;
};

// Searches the term table Mox5StatWord of one database file, which it only ever
// reads. Each search opens its own connection and closes it before returning.
class DictionarySearch {
public:
    // The file is created from the shipped content (a resource of SQL text)
    // when it does not exist yet.
    explicit DictionarySearch(QString databaseFile,
                              QString shippedSql = QStringLiteral(":/shipped/Mox5StatWord.sql"));

    // <dataDir>/Mox5StatWordDataBase.sqlite
    static QString fileIn(const QString& dataDir);

    // An empty text lists every entry in the order the database gives them.
    // Otherwise an entry is listed once when its key field, folded (SearchFold),
    // is LIKE wildcard + folded text + wildcard, or, as the text asks for it, its
    // word: Han text on the Chinese search matches the Chinese word, kanji or
    // katakana on the Japanese search the Japanese word, and the English search
    // also tries every form of the abbreviations (EnglishA). The user's own "%"
    // and "_" stay wildcards; every other character, quotes included, matches
    // itself.
    DicSearchResult run(DicSearchKind kind, const QString& text, const QString& wildcard) const;

    const QString& file() const { return m_file; }

    // The seven fields in the result grid's order.
    static std::array<QString, 7> columnFields(DicSearchKind kind);

    // The WHERE condition for a non-empty text, its patterns to bind in order;
    // withForms when the table has the abbreviation column.
    struct Condition {
        QString sql;
        QVariantList values;
    };
    static Condition condition(DicSearchKind kind, const QString& text, const QString& wildcard,
                               bool withForms);

private:
    QString m_file;
    QString m_shippedSql;
};
