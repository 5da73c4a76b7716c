#pragma once

#include <utility>
#include <vector>

#include "library/library_store.h"
#include "support/sql_file.h"

// Library files written and read over a connection of their own, so a test sees
// the table as it is on disk, not as the store reports it.
namespace libfix {

struct Row {
    int type;
    int seq;
    QString name;
    QString cmd = {};
    QString note = {};
    bool nullTexts = false;  // jCmd2 and jNote NULL, as imported files may have them
};

// A new file whose table jCMD holds the rows in this order.
void writeLibrary(const QString& path, const std::vector<Row>& rows);
std::vector<LibraryRow> readAll(const QString& path);  // stored order
inline void execute(const QString& path, const QString& sql) { SqlFile(path).exec(sql); }
// (jCmdType, jSeq) of every row, stored order.
inline std::vector<std::pair<int, int>> keys(const QString& path) {
    std::vector<std::pair<int, int>> out;
    for (const LibraryRow& r : readAll(path)) out.emplace_back(r.jCmdType, r.jSeq);
    return out;
}

// Every expression row of the shipped library, category by category, as the store reads
// it back from a fresh file; *categories receives the number of categories.
std::vector<LibraryRow> shippedExpressions(int* categories = nullptr);

}  // namespace libfix
