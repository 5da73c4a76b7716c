#pragma once

struct sqlite3;
class QSqlDatabase;

// The SQLite connection under an open QtSql connection of the QSQLITE driver
// (the same SQLite library the program links), or null for any other.
sqlite3* sqliteHandle(const QSqlDatabase& db);
