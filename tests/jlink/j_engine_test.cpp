#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <thread>

#include "jlink/j_dense.h"
#include "jlink/j_home.h"
#include "jlink/j_names.h"
#include "jlink/jdll_engine.h"
#include "support/j_test_engine.h"

namespace {

using Dims = std::vector<std::int64_t>;

// Runs a sentence that assigns J_Get and reads it back, as the main window does.
HostValue eval(JEngine& j, const QString& expression, int* code = nullptr) {
    const int rc = j.Do(QStringLiteral("J_Get=. ") + expression);
    EXPECT_EQ(rc, 0) << expression.toStdString() << ": " << j.takeOutput().toStdString();
    HostValue v;
    const int got = j.GetB(QStringLiteral("J_Get"), v);
    if (code)
        *code = got;
    else
        EXPECT_EQ(got, 0) << expression.toStdString();
    return v;
}

class JEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        j = sharedTestEngine();
        ASSERT_NE(j, nullptr);
        j->Clear();
        j->takeOutput();
    }
    JEngine* j = nullptr;
};

// ---- values from J ----------------------------------------------------------------

TEST_F(JEngineTest, NumericAtomsBecomeScalarsOfTheirKind) {
    EXPECT_EQ(eval(*j, "1+2"), HostValue::longValue(3));
    EXPECT_EQ(eval(*j, "0.5"), HostValue::doubleValue(0.5));
    EXPECT_EQ(eval(*j, "1=1"), HostValue::boolean(true));
    EXPECT_EQ(eval(*j, "_"), HostValue::doubleValue(INFINITY));
    EXPECT_EQ(eval(*j, "_4611686018427387904"), HostValue::longValue(-(std::int64_t{1} << 62)));
}

TEST_F(JEngineTest, ArraysKeepRankAndShape) {
    EXPECT_EQ(eval(*j, "i.2 3"), HostValue::longArray({2, 3}, {0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(eval(*j, "1 0 1"), HostValue::booleanArray({3}, {1, 0, 1}));
    EXPECT_EQ(eval(*j, "3 3$0"), HostValue::booleanArray({3, 3}, HostValue::Booleans(9, 0)));
    EXPECT_EQ(eval(*j, "2 2 2$0.25 1.5"),
              HostValue::doubleArray({2, 2, 2}, {0.25, 1.5, 0.25, 1.5, 0.25, 1.5, 0.25, 1.5}));
    const HostValue big = eval(*j, "i. 1000 1000");
    EXPECT_EQ(big.dims(), (Dims{1000, 1000}));
    EXPECT_EQ(big.longs()->back(), 999999);
}

TEST_F(JEngineTest, EmptyArraysKeepTheirExtents) {
    EXPECT_EQ(eval(*j, "i.0"), HostValue::longArray({0}, {}));
    EXPECT_EQ(eval(*j, "0 3$0").dims(), (Dims{0, 3}));
    EXPECT_EQ(eval(*j, "3 0$0.5").dims(), (Dims{3, 0}));
    EXPECT_EQ(eval(*j, "''"), HostValue::string(QString()));
    EXPECT_EQ(eval(*j, "0$<1").dims(), (Dims{0}));
}

TEST_F(JEngineTest, CharactersBecomeStrings) {
    EXPECT_EQ(eval(*j, "'abc'"), HostValue::string("abc"));
    EXPECT_EQ(eval(*j, "'x'"), HostValue::string("x"));
    const HostValue hello = eval(*j, "'こんにちは'");
    ASSERT_EQ(hello.type(), vt::String);
    EXPECT_EQ(hello.strings()->front(), QStringLiteral("こんにちは"));
    EXPECT_EQ(hello.strings()->front().size(), 5);
    EXPECT_EQ(eval(*j, "2 3$'abcdef'"), HostValue::stringArray({2}, {"abc", "def"}));
    EXPECT_EQ(eval(*j, "2 2 1$'abcd'"), HostValue::stringArray({2, 2}, {"a", "b", "c", "d"}));
    EXPECT_EQ(eval(*j, "3 0$'a'"), HostValue::stringArray({3}, {"", "", ""}));
}

TEST_F(JEngineTest, WideCharactersDecodeAsUnicode) {
    const HostValue types = eval(*j, "(3!:0 (7 u: 'こんにちは')),(3!:0 (9 u: 'a𝄞'))");
    EXPECT_EQ(types, HostValue::longArray({2}, {131072, 262144}));
    EXPECT_EQ(eval(*j, "7 u: 'こんにちは'"), HostValue::string(QStringLiteral("こんにちは")));
    EXPECT_EQ(eval(*j, "9 u: 'a𝄞'"), HostValue::string(QStringLiteral("a𝄞")));
    EXPECT_EQ(eval(*j, "2 2$9 u: 'αβγδ'"),
              HostValue::stringArray({2}, {QStringLiteral("αβ"), QStringLiteral("γδ")}));
}

TEST_F(JEngineTest, InvalidUtf8FromJIsReplaced) {
    const HostValue v = eval(*j, "'a',(255{a.),'b'");
    ASSERT_EQ(v.type(), vt::String);
    EXPECT_EQ(v.strings()->front(), QStringLiteral("a\uFFFDb"));
}

TEST_F(JEngineTest, BoxesBecomeVariants) {
    const HostValue mixed = eval(*j, "1;'ab';2 2$0.5");
    ASSERT_EQ(mixed.type(), vt::Variant + vt::Array);
    ASSERT_EQ(mixed.dims(), (Dims{3}));
    EXPECT_EQ(mixed.at(0), HostValue::boolean(true));
    EXPECT_EQ(mixed.at(1), HostValue::string("ab"));
    EXPECT_EQ(mixed.at(2), HostValue::doubleArray({2, 2}, {0.5, 0.5, 0.5, 0.5}));

    EXPECT_EQ(eval(*j, "<1 2"), HostValue::variant(HostValue::longArray({2}, {1, 2})));
    EXPECT_EQ(eval(*j, "2 1$(<<'a'),<3j4"),
              HostValue::variantArray(
                  {2, 1}, {HostValue::variant(HostValue::string("a")), HostValue::string("3j4")}));
}

TEST_F(JEngineTest, NameListArrivesAsStrings) {
    ASSERT_EQ(j->Do("a=: 1"), 0);
    ASSERT_EQ(j->Do("b=: 'x'"), 0);
    const HostValue names = eval(*j, "4!:1 (0)");
    ASSERT_EQ(names.type(), vt::Variant + vt::Array);
    ASSERT_EQ(names.dims().size(), 1u);
    QStringList texts;
    for (std::int64_t i = 0; i < names.count(); ++i) texts << *names.textAt(i);
    EXPECT_TRUE(texts.contains("a"));
    EXPECT_TRUE(texts.contains("b"));
}

TEST_F(JEngineTest, ExtendedAndRationalBecomeNumbers) {
    EXPECT_EQ(eval(*j, "!20x"), HostValue::longValue(2432902008176640000));
    EXPECT_EQ(eval(*j, "- 2^63x"), HostValue::longValue(std::numeric_limits<std::int64_t>::min()));
    const HostValue big = eval(*j, "!30x");
    ASSERT_EQ(big.type(), vt::Double);
    EXPECT_DOUBLE_EQ(big.doubles()->front(), 265252859812191058636308480000000.0);
    EXPECT_EQ(eval(*j, "1 2 3x"), HostValue::longArray({3}, {1, 2, 3}));
    const HostValue mixed = eval(*j, "1 , 2^70x");
    ASSERT_EQ(mixed.type(), vt::Double + vt::Array);
    EXPECT_DOUBLE_EQ(mixed.doubles()->at(1), std::ldexp(1.0, 70));

    EXPECT_EQ(eval(*j, "1r3"), HostValue::doubleValue(1.0 / 3));
    EXPECT_EQ(eval(*j, "_3r4 5r2"), HostValue::doubleArray({2}, {-0.75, 2.5}));
    EXPECT_DOUBLE_EQ(eval(*j, "(2^200x) % 3").doubles()->front(), std::ldexp(1.0, 200) / 3);
    EXPECT_EQ(eval(*j, "x: _"), HostValue::doubleValue(INFINITY));
}

TEST_F(JEngineTest, ComplexBecomesTextInJsForm) {
    EXPECT_EQ(eval(*j, "3j4"), HostValue::string("3j4"));
    EXPECT_EQ(eval(*j, "3j4 _1.5j_2 5 1e20j1e_5"),
              HostValue::stringArray({4}, {"3j4", "_1.5j_2", "5", "1e20j1e_5"}));
}

TEST_F(JEngineTest, SymbolsAndSparseAreConvertedWithoutLeavingNames) {
    EXPECT_EQ(eval(*j, "s:' ab'"), HostValue::stringArray({1}, {"ab"}));
    EXPECT_EQ(eval(*j, "s: <'ab'"), HostValue::string("ab"));
    EXPECT_EQ(eval(*j, "2 1$s:' ab cd'"), HostValue::stringArray({2, 1}, {"ab", "cd"}));
    EXPECT_EQ(eval(*j, "$. 1 0 2"), HostValue::longArray({3}, {1, 0, 2}));
    EXPECT_EQ(eval(*j, "$. 2 2$0 0.5"), HostValue::doubleArray({2, 2}, {0, 0.5, 0, 0.5}));
    EXPECT_EQ(eval(*j, "1;s:' ab'"),
              HostValue::variantArray(
                  {2}, {HostValue::boolean(true), HostValue::variantArray({1}, {HostValue::string("ab")})}));

    j->Clear();
    ASSERT_EQ(j->Do("J_Get=. 4!:1 (0 1 2 3)"), 0);
    HostValue names;
    ASSERT_EQ(j->GetB("J_Get", names), 0);
    EXPECT_EQ(names.count(), 0) << "J_Get itself is assigned after the listing";
}

// ---- GetB codes ---------------------------------------------------------------------

TEST_F(JEngineTest, GetBCodesTellUndefinedFromVerbsAndBadNames) {
    HostValue v = HostValue::longValue(7);
    EXPECT_EQ(j->GetB("nosuchname", v), 16);
    EXPECT_TRUE(v.isEmpty());

    ASSERT_EQ(j->Do("J_Get=. +/"), 0);
    EXPECT_EQ(j->GetB("J_Get", v), 3);
    ASSERT_EQ(j->Do("adv=: /"), 0);
    EXPECT_EQ(j->GetB("adv", v), 3);
    ASSERT_EQ(j->Do("conj=: @"), 0);
    EXPECT_EQ(j->GetB("conj", v), 3);

    for (const char* bad : {"", "1abc", "a b", "a__", "_a", "a.b", "a_b_c_d__", "x_"})
        EXPECT_EQ(j->GetB(QString::fromUtf8(bad), v), 4) << bad;
    EXPECT_EQ(j->GetB(QStringLiteral("名前"), v), 4);
    EXPECT_EQ(j->GetB(QString(300, QLatin1Char('a')), v), 4);
}

TEST_F(JEngineTest, NamesAreAddressedInBase) {
    EXPECT_EQ(baseQualifiedName(" J_A "), QByteArray("J_A_base_"));
    EXPECT_EQ(baseQualifiedName("a_z_"), QByteArray("a_z_"));
    EXPECT_EQ(baseQualifiedName("a_12_"), QByteArray("a_12_"));
    EXPECT_EQ(baseQualifiedName("a__b"), QByteArray("a__b"));
    EXPECT_FALSE(baseQualifiedName("a_-_"));

    ASSERT_EQ(j->Do("r_xyz_=: 42"), 0);
    HostValue v;
    EXPECT_EQ(j->GetB("r_xyz_", v), 0);
    EXPECT_EQ(v, HostValue::longValue(42));
}

// ---- Do codes and sentence handling -------------------------------------------------

TEST_F(JEngineTest, ErrorCodesFollowTheWindowsNumbering) {
    EXPECT_EQ(j->Do("1 + undefinedname 2"), 16);
    EXPECT_EQ(j->Do("1 + 'a'"), 3);
    const int length = j->Do("1 2 + 1 2 3");
    const int spelling = j->Do("1 +.. 2");
    EXPECT_EQ(length, 9);
    EXPECT_EQ(spelling, 21);
    EXPECT_EQ(j->Do("J_Get=. "), 19);
    EXPECT_EQ(j->Do("1+2"), 0);
}

TEST_F(JEngineTest, ErrorTextNamesTheJErrorBehindTheCode) {
    EXPECT_EQ(j->ErrorText(0), QString());
    EXPECT_EQ(j->ErrorText(3), QStringLiteral("domain error"));
    EXPECT_EQ(j->ErrorText(16), QStringLiteral("value error"));
    EXPECT_EQ(j->ErrorText(21), QStringLiteral("spelling error"));
    EXPECT_EQ(j->ErrorText(9), QStringLiteral("length error"));
    EXPECT_EQ(j->ErrorText(15), QStringLiteral("exit request"));
    EXPECT_FALSE(j->ErrorText(99).isEmpty());
}

TEST_F(JEngineTest, BlankSentencesNeverReachJ) {
    // After an error inside an explicit definition an empty line would open J's debugger.
    ASSERT_EQ(j->Do("g=: 3 : 'y + 1 2 3'"), 0);
    EXPECT_EQ(j->Do("g 1 2"), 9);
    j->takeOutput();
    EXPECT_EQ(j->Do(""), 0);
    EXPECT_EQ(j->Do("  \t "), 0);
    EXPECT_EQ(j->Do("\r\n"), 0);
    EXPECT_EQ(j->takeOutput(), QString());
    EXPECT_EQ(eval(*j, "1+2"), HostValue::longValue(3));
}

TEST_F(JEngineTest, LineBreaksInsideASentenceAreBlanks) {
    EXPECT_EQ(eval(*j, "1 +\r\n 2\r\n"), HostValue::longValue(3));
    EXPECT_EQ(eval(*j, "1\n2\r3"), HostValue::longArray({3}, {1, 2, 3}));
    EXPECT_EQ(eval(*j, "1\t+\t2"), HostValue::longValue(3));
    EXPECT_EQ(j->Do(QStringLiteral("1+2") + QChar(0) + QStringLiteral("3")), 21);
    EXPECT_NE(j->Do(QStringLiteral("1 +\x01 2")), 0);
    EXPECT_EQ(eval(*j, "1+2"), HostValue::longValue(3));
}

TEST_F(JEngineTest, VeryLongSentenceRuns) {
    QString sentence = QStringLiteral("+/");
    while (sentence.size() < 100000) sentence += QStringLiteral(" 1");
    const std::int64_t ones = (sentence.size() - 2) / 2;
    EXPECT_EQ(eval(*j, sentence), HostValue::longValue(ones));
}

TEST_F(JEngineTest, MultiLineDefinitionReturnsAtOnce) {
    EXPECT_EQ(j->Do("f=: 3 : 0"), 0);
    HostValue v;
    EXPECT_EQ(j->GetB("f", v), 3);
    EXPECT_EQ(eval(*j, "0 : 0"), HostValue::string(QString()));
    EXPECT_EQ(eval(*j, "1+2"), HostValue::longValue(3));
}

TEST_F(JEngineTest, ExitRequestKeepsTheProgramAndEngine) {
    std::vector<int> kinds;
    j->setOutputHandler([&](int kind, const QString&) { kinds.push_back(kind); });
    EXPECT_EQ(j->Do("2!:55 ''"), 15);
    j->setOutputHandler({});
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), 5), kinds.end());
    EXPECT_EQ(eval(*j, "1+2"), HostValue::longValue(3));
}

TEST_F(JEngineTest, DebugSuspensionReportsTheErrorAndDoesNotHang) {
    ASSERT_EQ(j->Do("g=: 3 : 'y + 1 2 3'"), 0);
    ASSERT_EQ(j->Do("13!:0 ]1"), 0);
    EXPECT_EQ(j->Do("g 1 2"), 9);
    EXPECT_EQ(j->Do("g 1 2"), 9);
    j->Do("13!:0 ]0");
    EXPECT_EQ(eval(*j, "1+2"), HostValue::longValue(3));
}

TEST_F(JEngineTest, InterruptStopsALongSentence) {
    std::atomic<bool> done{false};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        while (!done) {
            j->interrupt();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    const auto start = std::chrono::steady_clock::now();
    const int rc = j->Do("(3 : 'while. 1 do. i. 10 end.') 0");
    done = true;
    stopper.join();
    EXPECT_TRUE(rc == 1 || rc == 2) << rc;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
    EXPECT_EQ(eval(*j, "1+2"), HostValue::longValue(3));
}

// ---- locale -------------------------------------------------------------------------

TEST_F(JEngineTest, EverySentenceStartsInBase) {
    ASSERT_EQ(j->Do("cocurrent 'xyz'"), 0);
    ASSERT_EQ(j->Do("q=: 5"), 0);
    HostValue v;
    EXPECT_EQ(j->GetB("q", v), 0);
    EXPECT_EQ(v, HostValue::longValue(5));
    EXPECT_EQ(j->GetB("q_base_", v), 0);
    EXPECT_EQ(eval(*j, "> 18!:5 ''"), HostValue::string("base"));

    // Within one sentence the switch holds; reads and writes still address base.
    ASSERT_EQ(j->Do("w=: 6 [ cocurrent 'xyz'"), 0);
    EXPECT_EQ(j->GetB("w", v), 16);
    EXPECT_EQ(j->GetB("w_xyz_", v), 0);
    EXPECT_EQ(j->Set("J_A", HostValue::longValue(1)), 0);
    EXPECT_EQ(eval(*j, "J_A_base_"), HostValue::longValue(1));
}

// ---- Set ----------------------------------------------------------------------------

TEST_F(JEngineTest, SetTableOfDoublesReadsBackAndJSeesItsShape) {
    const HostValue table = HostValue::doubleArray({3, 2}, {1.5, -2, 3.25, 4, 1e300, 0});
    ASSERT_EQ(j->Set("J_A", table), 0);
    HostValue back;
    ASSERT_EQ(j->GetB("J_A", back), 0);
    EXPECT_EQ(back, table);
    EXPECT_EQ(eval(*j, "$J_A"), HostValue::longArray({2}, {3, 2}));
    EXPECT_EQ(eval(*j, "+/ , J_A"), HostValue::doubleValue(1.5 - 2 + 3.25 + 4 + 1e300));
}

TEST_F(JEngineTest, SetKeepsEveryPlainKind) {
    const HostValue values[] = {
        HostValue::longValue(-7),
        HostValue::doubleValue(2.5),
        HostValue::boolean(true),
        HostValue::longArray({2, 2}, {1, 2, 3, 4}),
        HostValue::booleanArray({3}, {1, 0, 1}),
        HostValue::doubleArray({0}, {}),
        HostValue::string(QStringLiteral("日本語 text")),
    };
    for (const HostValue& v : values) {
        ASSERT_EQ(j->Set("J_B", v), 0);
        HostValue back;
        ASSERT_EQ(j->GetB("J_B", back), 0);
        EXPECT_EQ(back, v) << back.type();
    }
    EXPECT_EQ(eval(*j, "# J_B"), HostValue::longValue(14)) << "UTF-8 bytes in J";
}

TEST_F(JEngineTest, SetVariantsOfNumbersBecomeAPlainArray) {
    ASSERT_EQ(
        j->Set("J_C", HostValue::variantArray({2}, {HostValue::longValue(1), HostValue::doubleValue(0.5)})),
        0);
    EXPECT_EQ(eval(*j, "J_C"), HostValue::doubleArray({2}, {1, 0.5}));
    ASSERT_EQ(
        j->Set("J_C", HostValue::variantArray({2}, {HostValue::longValue(1), HostValue::boolean(true)})), 0);
    EXPECT_EQ(eval(*j, "J_C"), HostValue::longArray({2}, {1, 1}));
    ASSERT_EQ(j->Set("J_C", HostValue::variant(HostValue::doubleValue(4))), 0);
    EXPECT_EQ(eval(*j, "J_C"), HostValue::doubleValue(4));
}

TEST_F(JEngineTest, SetRefusesWhatJCannotHoldPlainly) {
    EXPECT_EQ(j->Set("J_D", HostValue()), 3);
    EXPECT_EQ(j->Set("J_D", HostValue::stringArray({2}, {"a", "b"})), 3);
    EXPECT_EQ(j->Set("J_D", HostValue::variantArray({1}, {HostValue::string("a")})), 3);
    EXPECT_EQ(j->Set("1bad", HostValue::longValue(1)), 4);
    HostValue v;
    EXPECT_EQ(j->GetB("J_D", v), 16);
}

// ---- Clear and output ---------------------------------------------------------------

TEST_F(JEngineTest, ClearLeavesNoUserName) {
    for (const char* definition : {"a=: 1", "v=: +/", "adv=: /", "conj=: @", "J_Get=. 2"})
        ASSERT_EQ(j->Do(definition), 0) << definition;
    ASSERT_EQ(j->Set("J_A", HostValue::doubleValue(1)), 0);
    j->Clear();
    EXPECT_EQ(eval(*j, "# 4!:1 (0 1 2 3)"), HostValue::longValue(0));
    HostValue v;
    EXPECT_EQ(j->GetB("a", v), 16);
    EXPECT_EQ(j->GetB("J_A", v), 16);
    EXPECT_EQ(eval(*j, "3 = 4!:0 <'cocurrent_z_'"), HostValue::boolean(true)) << "the library stays";
}

TEST_F(JEngineTest, OutputIsCapturedAndNeverReachesTheTerminal) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    fflush(stdout);
    fflush(stderr);
    const int savedOut = dup(1), savedErr = dup(2);
    dup2(fds[1], 1);
    dup2(fds[1], 2);
    const int a = j->Do("smoutput 'x'");
    const int b = j->Do("1+2");
    const int c = j->Do("1 + 'a'");
    fflush(stdout);
    fflush(stderr);
    dup2(savedOut, 1);
    dup2(savedErr, 2);
    close(savedOut);
    close(savedErr);
    close(fds[1]);
    std::string leaked;
    char buf[256];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) leaked.append(buf, static_cast<size_t>(n));
    close(fds[0]);

    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(c, 3);
    EXPECT_EQ(leaked, "");
    const auto chunks = j->takeOutputChunks();
    ASSERT_GE(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].kind, 6);
    EXPECT_EQ(chunks[0].text, QStringLiteral("x\n"));
    EXPECT_EQ(chunks[1].kind, 1);
    EXPECT_EQ(chunks[1].text, QStringLiteral("3\n"));
    EXPECT_EQ(chunks[2].kind, 2);
    EXPECT_TRUE(chunks[2].text.contains(QStringLiteral("domain error")));
    EXPECT_EQ(j->takeOutput(), QString());
}

TEST_F(JEngineTest, OutputHandlerSeesOutputLiveAndNoInspectionHint) {
    std::vector<std::pair<int, QString>> seen;
    j->setOutputHandler([&](int kind, const QString& text) { seen.emplace_back(kind, text); });
    ASSERT_EQ(j->Do("g=: 3 : 'y + 1 2 3'"), 0);
    EXPECT_EQ(j->Do("g 1 2"), 9);
    EXPECT_EQ(j->Do("'日本'"), 0);
    EXPECT_EQ(j->Do("1+2"), 0) << "the handler may not re-enter, but the next call works";
    j->setOutputHandler({});
    ASSERT_GE(seen.size(), 3u);
    for (const auto& [kind, text] : seen) EXPECT_FALSE(text.contains(QStringLiteral("Press ENTER")));
    EXPECT_EQ(seen[seen.size() - 2], std::make_pair(1, QStringLiteral("日本\n")));
    const QString kept = j->takeOutput();
    EXPECT_TRUE(kept.contains(QStringLiteral("length error")));
    EXPECT_FALSE(kept.contains(QStringLiteral("Press ENTER")));
}

TEST_F(JEngineTest, ReentrantCallsFromTheHandlerAreRefused) {
    int inner = -1;
    j->setOutputHandler([&](int, const QString&) {
        if (inner == -1) inner = j->Do("1+1");
    });
    EXPECT_EQ(j->Do("1+2"), 0);
    j->setOutputHandler({});
    EXPECT_EQ(inner, JEngine::kControlError);
}

// ---- lifetime -----------------------------------------------------------------------

TEST(JEngineLifetime, EnginesComeAndGoRepeatedlyWithSeparateNames) {
    JEngine* shared = sharedTestEngine();
    ASSERT_NE(shared, nullptr);
    ASSERT_EQ(shared->Do("onlyshared=: 1"), 0);
    for (int round = 0; round < 3; ++round) {
        QString error;
        std::unique_ptr<JEngine> e = JEngine::create(&error);
        ASSERT_NE(e, nullptr) << error.toStdString();
        EXPECT_EQ(eval(*e, "1+2"), HostValue::longValue(3));
        HostValue v;
        EXPECT_EQ(e->GetB("onlyshared", v), 16);
        EXPECT_EQ(e->Do("mine=: 2"), 0);
    }
    HostValue v;
    EXPECT_EQ(shared->GetB("mine", v), 16);
    EXPECT_EQ(shared->GetB("onlyshared", v), 0);
    shared->Clear();
}

// Runs one test of this program in a fresh process (where no engine is loaded yet) with
// extra environment, so that it can try a J home of its own.
void runInChild(const char* test, const QProcessEnvironment& extra) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(extra);
    env.insert("KALVORET_TEST_CHILD", "1");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + test});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QByteArray log = child.readAll();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << log.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << log.toStdString();
    EXPECT_TRUE(log.contains("[  PASSED  ] 1 test")) << log.toStdString();
}

bool inChild() { return qEnvironmentVariableIsSet("KALVORET_TEST_CHILD"); }

TEST(JEngineCreate, ExplainsAMissingEngine) {
    if (!inChild()) {
        QProcessEnvironment env;
        env.insert("KALVORET_J_HOME", "/nonexistent/kalvoret-j-home");
        runInChild("JEngineCreate.ExplainsAMissingEngine", env);
        return;
    }
    QString error;
    EXPECT_EQ(JEngine::create(&error), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("J エンジン"))) << error.toStdString();
    EXPECT_TRUE(error.contains("/nonexistent/kalvoret-j-home/bin/libj.so")) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("file not found"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("pip install --no-deps --target"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("scripts/setup"))) << error.toStdString();

    // A file that is not a library: dlopen's reason is passed on.
    QTemporaryDir broken;
    ASSERT_TRUE(broken.isValid());
    QDir(broken.path()).mkpath("bin");
    QFile fake(broken.path() + "/bin/libj.so");
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("not a library");
    fake.close();
    qputenv("KALVORET_J_HOME", broken.path().toUtf8());
    EXPECT_EQ(JEngine::create(&error), nullptr);
    EXPECT_TRUE(error.contains(broken.path() + "/bin/libj.so")) << error.toStdString();
    EXPECT_FALSE(error.contains(QStringLiteral("file not found"))) << error.toStdString();
}

TEST(JEngineCreate, ReportsAProfileThatStops) {
    if (!inChild()) {
        // The real engine beside a profile that fails half-way.
        QTemporaryDir home;
        ASSERT_TRUE(home.isValid());
        home.setAutoRemove(true);
        const auto candidates = jHomeCandidates();
        ASSERT_FALSE(candidates.empty());
        const QFileInfo realLibrary(jLibraryPath(candidates.front().folder));
        ASSERT_TRUE(realLibrary.exists());
        QDir(home.path()).mkpath("bin");
        for (const QString& file : {QStringLiteral("libj.so"), QStringLiteral("libgmp.so")})
            QFile::link(realLibrary.absolutePath() + "/" + file, home.path() + "/bin/" + file);
        QFile profile(home.path() + "/bin/profile.ijs");
        ASSERT_TRUE(profile.open(QIODevice::WriteOnly));
        profile.write("x =. 1 + 'a'\n");
        profile.close();
        QProcessEnvironment env;
        env.insert("KALVORET_J_HOME", home.path());
        runInChild("JEngineCreate.ReportsAProfileThatStops", env);
        return;
    }
    QString error;
    EXPECT_EQ(JEngine::create(&error), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("profile.ijs"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("domain error"))) << error.toStdString();
}

// ---- J's number form ----------------------------------------------------------------

TEST(JNumberText, WritesNumbersAsJDoes) {
    const std::pair<double, const char*> cases[] = {
        {3, "3"},        {-2.5, "_2.5"},    {1e20, "1e20"}, {1e-5, "1e_5"}, {-1.5e-7, "_1.5e_7"},
        {INFINITY, "_"}, {-INFINITY, "__"}, {0, "0"},
    };
    for (const auto& [v, text] : cases) EXPECT_EQ(jNumberText(v), QString::fromLatin1(text)) << v;
    EXPECT_EQ(jComplexText(3, 4), QStringLiteral("3j4"));
    EXPECT_EQ(jComplexText(-1, 0), QStringLiteral("_1"));
    EXPECT_EQ(jComplexText(0, -1), QStringLiteral("0j_1"));
}

}  // namespace
