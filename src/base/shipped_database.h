#pragma once

#include <QString>

class QSqlDatabase;

// The shipped content of the two database files lives as SQL text in the
// program's resources (":/shipped/<name>.sql"), one statement per line; a line
// "PRAGMA user_version = N;" stamps the file with the content's version N.

// The folder an installed program's shipped content lies in (<prefix>/share/kalvoret
// beside <prefix>/bin), or "" when the program runs from its build folder.
QString installedShareDir();

// The SQL text to seed from: the installed copy in shareDir when there is one, else
// the copy built into the program.
QString shippedSqlFile(const QString& sqlResource, const QString& shareDir);

// Creates the SQLite file at path from the shipped SQL (shippedSqlFile) when the file does not
// exist yet. False, with the reason, when it cannot be made.
bool ensureShippedDatabase(const QString& path, const QString& sqlResource, QString* error);

// Runs SQL text of one statement per line against a fresh SQLite file.
bool createDatabaseFromSql(const QString& path, const QString& sqlText, QString* error);

// Runs SQL text of one statement per line on an open connection; stops at the
// first failure.
bool runSqlLines(QSqlDatabase& db, const QString& sqlText, QString* error);
