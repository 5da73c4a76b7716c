#pragma once

#include <utility>
#include <vector>

#include <QVariantList>

#include "library/library_store.h"

// Library files written and read over a raw connection of their own, so a test
// sees the table as it is on disk, not as the store reports it.
namespace libfix {

struct Row {
    int type;
    int seq;
    QString name;
    QString cmd = {};
    QString note = {};
    bool nullTexts = false;  // jCmd2 and jNote NULL, as imported files may have them
};

// A connection of its own to a library file while it lives.
class Connection {
public:
    explicit Connection(const QString& path);
    ~Connection();
    void exec(const QString& sql, const QVariantList& values = {}) const;
    std::vector<LibraryRow> rows() const;  // stored order

private:
    QString m_name;
};

// Another program's open transaction while it lives: "IMMEDIATE" keeps writers
// out, "EXCLUSIVE" readers as well.
struct LockHolder : Connection {
    LockHolder(const QString& path, const QString& kind) : Connection(path) { exec("BEGIN " + kind); }
    ~LockHolder() { exec("ROLLBACK"); }
};

// A new file whose table jCMD holds the rows in this order.
void writeLibrary(const QString& path, const std::vector<Row>& rows);
inline std::vector<LibraryRow> readAll(const QString& path) { return Connection(path).rows(); }
inline void execute(const QString& path, const QString& sql) { Connection(path).exec(sql); }
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
