#include "base/sentence_history.h"
#include "support/files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SentenceHistory, UpGoesBackFromTheNewestAndDownPastItGivesBackTheTypedText) {
    SentenceHistory h;
    EXPECT_EQ(h.older("typed"), std::nullopt);  // nothing yet: the box keeps its text
    EXPECT_EQ(h.newer(), std::nullopt);
    for (const char* s : {"a=: 1", "b", "b", "   ", "", "a=: 1", "c\r\n"}) h.add(s);
    // A repeat only of the newest is dropped.
    EXPECT_EQ(h.entries(), QStringList({"a=: 1", "b", "a=: 1", "c\n"}));

    // Up to the oldest, which stays, then Down past the newest to the typed text.
    QStringList walk = {h.older("typed").value_or("none")};
    while (const auto s = h.older("x")) walk << *s;
    while (const auto s = h.newer()) walk << *s;
    EXPECT_EQ(walk, QStringList({"c\n", "a=: 1", "b", "a=: 1", "b", "a=: 1", "c\n", "typed"}));

    // Running a sentence found on the way makes it the newest and starts again from there.
    h.older("");
    h.older("");
    h.add("a=: 1");
    EXPECT_EQ(h.older("next"), "a=: 1");
    EXPECT_EQ(h.older("a=: 1"), "c\n");
    h.resetBrowsing();
    EXPECT_EQ(h.newer(), std::nullopt);
}

TEST(SentenceHistory, TheFileKeepsTheLastThousandEntriesOnALineEachAcrossRuns) {
    QTemporaryDir dir;
    const QString file = dir.filePath("config/history.txt");
    QByteArray numbers;
    for (int i = 1; i <= 1005; ++i) numbers += QByteArray::number(i) + '\n';
    QDir().mkpath(dir.filePath("config"));
    writeFile(file, numbers);
    const QStringList odd = {"+/\\ i. 5",    "a\nb\r\n\r\nc",   "\\n is not a line feed\\",
                             "lone\rreturn", "'日本語' , _1 _", "\ttab"};
    {
        SentenceHistory h(file);
        EXPECT_EQ(h.entries().first() + "|" + QString::number(h.entries().size()), "6|1000");
        for (const QString& s : odd) h.add(s);
        EXPECT_EQ(h.entries().first() + "|" + QString::number(h.entries().size()), "12|1000");
    }
    const QByteArray text = readFile(file);
    EXPECT_EQ(text.count('\n'), 1000);
    EXPECT_TRUE(text.endsWith("+/\\\\ i. 5\na\\nb\\n\\nc\n\\\\n is not a line feed\\\\\nlone\\rreturn\n" +
                              QString("'日本語' , _1 _\n\ttab\n").toUtf8()));

    SentenceHistory again(file);
    EXPECT_EQ(again.entries().size(), 1000);
    EXPECT_EQ(again.entries().mid(994), QStringList(odd).replaceInStrings("\r\n", "\n"));
    EXPECT_EQ(again.older(""), "\ttab");

    // Characters are kept within bounds too: one sentence too long is not kept at all.
    again.add(QString(SentenceHistory::kMaxEntryChars + 1, u'x'));
    EXPECT_EQ(again.entries().last(), "\ttab");
    for (int i = 0; i < 10; ++i) again.add(QString(SentenceHistory::kMaxEntryChars, QChar(u'a' + i)));
    EXPECT_EQ(again.entries().size(), 10);
    EXPECT_EQ(SentenceHistory(file).entries(), again.entries());
}

// Whatever lies in the file, the program starts with what can be read of it, and a history
// that cannot be written still works in memory.
TEST(SentenceHistory, ABadFileIsPassedOverQuietly) {
    QTemporaryDir dir;
    const QByteArray nul(1, '\0'), huge(9 * 1024 * 1024, 'z');
    const std::pair<QByteArray, QStringList> files[] = {
        {"", {}},
        {"\xff\xfe" + nul + "\x01\n1+2\n\xc3\x28\nx" + nul + "y\n\r\n3+4\r\n", {"1+2", "3+4"}},
        {huge + "\nafter\n", {"after"}},  // only the end of a huge file is read
        {huge, {}},
    };
    for (const auto& [bytes, expected] : files) {
        const QString file = writeFile(dir.filePath("history.txt"), bytes);
        SentenceHistory h(file);
        EXPECT_EQ(h.entries(), expected);
        h.add("5");
        EXPECT_EQ(SentenceHistory(file).entries(), expected + QStringList{"5"});
    }

    // A missing folder is made; a file or folder in the way is left alone.
    writeFile(dir.filePath("plain"), "a file where a folder should be");
    const std::pair<QString, bool> places[] = {{dir.filePath("missing/history.txt"), true},
                                               {dir.filePath("plain/history.txt"), false},
                                               {dir.path(), false}};
    for (const auto& [file, written] : places) {
        SentenceHistory h(file);
        EXPECT_TRUE(h.entries().isEmpty());
        h.add("1+1");
        EXPECT_EQ(h.older(""), "1+1");
        EXPECT_EQ(h.save(), written);
        EXPECT_EQ(SentenceHistory(file).entries().size(), written ? 1 : 0);
    }
    EXPECT_EQ(readFile(dir.filePath("plain")), "a file where a folder should be");
}
