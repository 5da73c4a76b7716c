#pragma once

#include <QString>

// The shipped content of the two database files lives as SQL text in the
// program's resources (":/shipped/<name>.sql"), one statement per line.

// Creates the SQLite file at path from the shipped SQL when the file does not
// exist yet. False, with the reason, when it cannot be made.
bool ensureShippedDatabase(const QString& path, const QString& sqlResource, QString* error);

// Runs SQL text of one statement per line against a fresh SQLite file.
bool createDatabaseFromSql(const QString& path, const QString& sqlText, QString* error);
