#pragma once

class QSqlDatabase;

// Teaches one open SQLite connection the function
//   folded_like(value, fold, pattern)
// which is 1 when the value, folded as SearchFold kind `fold`, matches the LIKE
// pattern (the user's "%" and "_" are wildcards, there is no escape character,
// ASCII letters match either case), else 0; a null value is 0. Fold kind
// kFoldForms folds as Plain and tries each ";"-separated form on its own.
// False when the connection is not an SQLite one.
bool registerFoldedLike(QSqlDatabase& db);

inline constexpr int kFoldForms = 3;
