#pragma once

#include <QString>

#include "base/shipped_database.h"

// A small term table: keyword and exact matches, letter case, a null English
// word, quotes and the characters LIKE treats as wildcards.
inline QString termTableSql() {
    return QString::fromUtf8(
        R"(CREATE TABLE Mox5StatWord (ID INTEGER PRIMARY KEY, ChineseKey TEXT, JapaneseKey TEXT, ChineseK TEXT, ChineseH TEXT, JapaneseK TEXT, JapaneseH TEXT, EnglishK TEXT, Note1 TEXT, Note2 TEXT);
INSERT INTO Mox5StatWord VALUES (1, 'tongjixue', 'とうけいがく', '統計學', 'tǒng jì xué', '統計学', 'とうけいがく', 'statistics', NULL, '記述統計');
INSERT INTO Mox5StatWord VALUES (2, 'tongji', 'とうけい', '統計', 'tǒng jì', '統計', 'とうけい', 'Statistic', '単数形', '');
INSERT INTO Mox5StatWord VALUES (3, 'pingjunshu', 'へいきん', '平均數', 'píng jūn shù', '平均', 'へいきん', NULL, '', 'mean');
INSERT INTO Mox5StatWord VALUES (4, 'a_b', 'あ''い', '引號', 'yǐn hào', '引用符', 'いんようふ', 'it''s "quoted"', '', '');
INSERT INTO Mox5StatWord VALUES (5, 'axb', 'あかい', '百分', 'bǎi fēn', '百分率', 'ひゃくぶんりつ', '100% sure', '', '');
INSERT INTO Mox5StatWord VALUES (6, 'ab"c', 'せん', '千', 'qiān', '千', 'せん', '1000 sure', '', '');)");
}

inline constexpr int kTermCount = 6;

inline bool writeTermDatabase(const QString& path) {
    QString error;
    return createDatabaseFromSql(path, termTableSql(), &error);
}
