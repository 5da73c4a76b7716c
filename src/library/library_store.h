#pragma once

#include <QString>
#include <optional>
#include <vector>

// One row of table jCMD: a category (jSeq 0) or an expression of category jCmdType.
struct LibraryRow {
    int jCmdType = 0;
    int jSeq = 0;
    QString jCmdName;
    QString jCmd;
    QString jCmd2;
    QString jNote;
};

// The expression the library window works on; Cont_AddNew fills in its number.
struct LibraryExpression {
    QString name;
    QString expression;
    QString second;  // jCmd2
    QString note;
    int category = 0;  // jCmdType
    int number = 0;    // jSeq
};

// The expression library in the SQLite file jCmd.sqlite. Every operation opens its
// own connection and closes it before returning; nothing is cached. Failures come
// back as false with lastError() saying which file and why; nothing is shown here.
class LibraryStore {
public:
    // Category and expression numbers are 16-bit in the file format.
    static constexpr int kMaxNumber = 32767;

    explicit LibraryStore(QString filePath);
    // The library file inside a data folder.
    static QString fileIn(const QString& dataDir);

    const QString& filePath() const { return m_path; }
    const QString& lastError() const { return m_error; }
    // How long to wait for another program's lock before giving up.
    void setBusyTimeoutMs(int ms) { m_busyTimeoutMs = ms; }

    // Category rows by number; expressions of a category in stored order.
    std::optional<std::vector<LibraryRow>> ReadCategories();
    std::optional<std::vector<LibraryRow>> ReadExpressions(int category);

    bool Class_AddNew(const QString& text, int listInd);
    bool Class_Update(const QString& text, int listInd);
    // Removes the category row and all its expressions, or nothing at all.
    bool Class_Delete(int listInd);
    // Numbers the expression one above the highest number in its category.
    bool Cont_AddNew(LibraryExpression& e);
    bool Cont_Update(const LibraryExpression& e);
    bool Cont_Delete(const LibraryExpression& e);

private:
    class Session;
    bool fail(const QString& message);
    bool pointsAtExpression(const LibraryExpression& e);

    QString m_path;
    QString m_error;
    int m_busyTimeoutMs = 1500;
};
