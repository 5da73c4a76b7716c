#pragma once

#include <QString>

#include "base/shipped_database.h"

// A small term table: keyword and exact matches, letter case, a null English
// word, quotes and the characters LIKE treats as wildcards, katakana words,
// ü written v, abbreviations, and keys in katakana and in toned pinyin as a
// user might add them.
inline QString termTableSql() {
    return QString::fromUtf8(
        R"(CREATE TABLE Mox5StatWord (ID INTEGER PRIMARY KEY, ChineseKey TEXT, JapaneseKey TEXT, ChineseK TEXT, ChineseH TEXT, JapaneseK TEXT, JapaneseH TEXT, EnglishK TEXT, Note1 TEXT, Note2 TEXT, EnglishA TEXT);
INSERT INTO Mox5StatWord VALUES (1, 'tongjixue', 'とうけいがく', '統計學', 'tǒng jì xué', '統計学', 'とうけいがく', 'statistics', NULL, '記述統計', NULL);
INSERT INTO Mox5StatWord VALUES (2, 'tongji', 'とうけい', '統計', 'tǒng jì', '統計', 'とうけい', 'Statistic', '単数形', '', NULL);
INSERT INTO Mox5StatWord VALUES (3, 'pingjunshu', 'へいきん', '平均數', 'píng jūn shù', '平均', 'へいきん', NULL, '', 'mean', NULL);
INSERT INTO Mox5StatWord VALUES (4, 'a_b', 'あ''い', '引號', 'yǐn hào', '引用符', 'いんようふ', 'it''s "quoted"', '', '', NULL);
INSERT INTO Mox5StatWord VALUES (5, 'axb', 'あかい', '百分', 'bǎi fēn', '百分率', 'ひゃくぶんりつ', '100% sure', '', '', NULL);
INSERT INTO Mox5StatWord VALUES (6, 'ab"c', 'せん', '千', 'qiān', '千', 'せん', '1000 sure', '', '', NULL);
INSERT INTO Mox5StatWord VALUES (7, 'jilv', 'かくりつ', '機率', 'jī lǜ', '確率', 'かくりつ', 'probability', NULL, NULL, NULL);
INSERT INTO Mox5StatWord VALUES (8, 'ziliao', 'でーた', '資料', 'zī liào', 'データ', 'でーた', 'data', NULL, NULL, NULL);
INSERT INTO Mox5StatWord VALUES (9, 'bianyishufenxi', 'ぶんさんぶんせき', '變異數分析', 'biàn yì shù fēn xī', '分散分析', 'ぶんさんぶんせき', 'analysis of variance', NULL, NULL, 'ANOVA; analysis-of-variance');
INSERT INTO Mox5StatWord VALUES (10, 'jilvfenbu', 'かくりつぶんぷ', '機率分布', 'jī lǜ fēn bù', '確率分布', 'かくりつぶんぷ', 'probability distribution', NULL, NULL, NULL);
INSERT INTO Mox5StatWord VALUES (11, 'Mó Xíng', 'モデル', '模型', 'mó xíng', 'モデル', 'もでる', 'model', NULL, NULL, NULL);)");
}

inline constexpr int kTermCount = 11;

inline bool writeTermDatabase(const QString& path) {
    QString error;
    return createDatabaseFromSql(path, termTableSql(), &error);
}
