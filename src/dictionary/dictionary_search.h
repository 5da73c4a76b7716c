#pragma once

#include <QString>
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
    // Otherwise the key field must be LIKE wildcard + text + wildcard; the user's
    // own "%" and "_" stay wildcards, every other character (quotes included)
    // matches itself, and ASCII letters match either case.
    DicSearchResult run(DicSearchKind kind, const QString& text, const QString& wildcard) const;

    const QString& file() const { return m_file; }

    // The field whose value the search compares.
    static QString keyField(DicSearchKind kind);
    // The seven fields in the result grid's order.
    static std::array<QString, 7> columnFields(DicSearchKind kind);

private:
    QString m_file;
    QString m_shippedSql;
};
