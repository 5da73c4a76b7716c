#pragma once

#include <QString>
#include <QStringList>

// What the program ships for one table of a database file, and what names an
// entry of it across content versions.
struct ShippedContent {
    // The current content: SQL text, one statement a line (a resource or a
    // file). Its line "PRAGMA user_version = N;" gives its version, 1 without.
    QString sqlFile;
    // The content of every earlier version, "%1" standing for the version
    // (":/shipped/history/Mox5StatWord.v%1.sql"). Files from before content
    // versions carry none and count as version 1.
    QString historyFile;
    QString table;
    // Columns whose values together name one entry in every version.
    QStringList keyColumns;
    // An INTEGER PRIMARY KEY each file numbers for itself: never compared,
    // never copied from the shipped rows; empty when the table has none.
    QString autoColumn;
    // A number each row holds within its group (an expression's number within its
    // category), or empty. A shipped row that would take a number a row of its group
    // already holds takes the next free one; number 0 stands for the group itself,
    // and a group is never given a second such row.
    QString numberColumn = {};
    QString groupColumn = {};
};

struct ShippedUpgrade {
    enum Status {
        Missing,   // no file yet: it is made from the current content when first used
        Current,   // already at the shipped version
        Newer,     // made by a later program: left alone
        Upgraded,  // brought to the shipped version; backupFile holds the file as it was
        Failed     // the file is as it was; error says why
    };
    Status status = Missing;
    int fileVersion = 0;
    int shippedVersion = 0;
    QString backupFile;
    int added = 0;       // new shipped entries
    int corrected = 0;   // unchanged shipped rows given the new text
    int withdrawn = 0;   // unchanged shipped rows of entries no longer shipped
    int renumbered = 0;  // shipped rows given another number because theirs was taken
    int userRows = 0;    // rows the user added or changed, kept as they were
    QString error;
};

// Brings a file made from older shipped content to the current content, in one
// transaction, after copying it to "<file>.bak-N" (the first free N):
//  - a row equal in every shipped column to a row of the content the file was
//    made from (the auto column aside, any column the user added empty) is
//    shipped and unchanged: it gets the current text of its entry, or goes when
//    the entry is no longer shipped;
//  - every other row is the user's and stays exactly as it is;
//  - an entry new in the current content is added unless a user row has its
//    key; an entry the user deleted stays deleted;
//  - columns new in the current content are added to the table.
// The file keeps its version when anything fails: read-only, not a database,
// locked, a table that is not the shipped one, no history for its version.
ShippedUpgrade upgradeShippedDatabase(const QString& file, const ShippedContent& content);
