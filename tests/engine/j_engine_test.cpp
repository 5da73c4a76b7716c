#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include "engine/j_home.h"
#include "engine/j_names.h"
#include "engine/jdll_engine.h"
#include "support/files.h"
#include "support/j_test_engine.h"

namespace {

using H = HostValue;

// Runs a sentence that assigns J_Get and reads it back, as the main window does.
HostValue eval(JEngine& j, const QString& expression) {
    EXPECT_EQ(j.Do(QStringLiteral("J_Get=. ") + expression), 0)
        << expression.toStdString() << ": " << j.takeOutput().toStdString();
    HostValue v;
    EXPECT_EQ(j.GetB(QStringLiteral("J_Get"), v), 0) << expression.toStdString();
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
    int getB(const char* name) {
        HostValue v;
        return j->GetB(QString::fromUtf8(name), v);
    }
    JEngine* j = nullptr;
};

// ---- values from J ----------------------------------------------------------------

TEST_F(JEngineTest, NounsArriveAsHostValuesOfTheirKindRankAndShapeLeavingNoNamesBehind) {
    const std::pair<const char*, HostValue> cases[] = {
        {"1+2", H::longValue(3)},
        {"0.5", H::doubleValue(0.5)},
        {"1=1", H::boolean(true)},
        {"_", H::doubleValue(INFINITY)},
        {"i.2 3", H::longArray({2, 3}, {0, 1, 2, 3, 4, 5})},
        {"1 0 1", H::booleanArray({3}, {1, 0, 1})},
        {"2 2 2$0.25 1.5", H::doubleArray({2, 2, 2}, {0.25, 1.5, 0.25, 1.5, 0.25, 1.5, 0.25, 1.5})},
        {"i.0", H::longArray({0}, {})},
        {"0 3$0", H::booleanArray({0, 3}, {})},
        {"3 0$0.5", H::doubleArray({3, 0}, {})},
        {"0$<1", H::variantArray({0}, {})},
        {"''", H::string(QString())},
        // characters, UTF-8, wide characters; invalid UTF-8 is replaced
        {"'x'", H::string("x")},
        {"'こんにちは'", H::string(QStringLiteral("こんにちは"))},
        {"2 3$'abcdef'", H::stringArray({2}, {"abc", "def"})},
        {"3 0$'a'", H::stringArray({3}, {"", "", ""})},
        {"2 2 1$'abcd'", H::stringArray({2, 2}, {"a", "b", "c", "d"})},
        {"7 u: 'こんにちは'", H::string(QStringLiteral("こんにちは"))},
        {"9 u: 'a𝄞'", H::string(QStringLiteral("a𝄞"))},
        {"2 2$9 u: 'αβγδ'", H::stringArray({2}, {QStringLiteral("αβ"), QStringLiteral("γδ")})},
        {"'a',(255{a.),'b'", H::string(QStringLiteral("a\uFFFDb"))},
        // boxes become variants
        {"1;'ab';2 2$0.5", H::variantArray({3}, {H::boolean(true), H::string("ab"),
                                                 H::doubleArray({2, 2}, {0.5, 0.5, 0.5, 0.5})})},
        {"<1 2", H::variant(H::longArray({2}, {1, 2}))},
        {"2 1$(<<'a'),<3j4", H::variantArray({2, 1}, {H::variant(H::string("a")), H::string("3j4")})},
        // extended and rational become numbers, complex J's text
        {"!20x", H::longValue(2432902008176640000)},
        {"- 2^63x", H::longValue(std::numeric_limits<std::int64_t>::min())},
        {"1 , 2^70x", H::doubleArray({2}, {1, std::ldexp(1.0, 70)})},
        {"1r3", H::doubleValue(1.0 / 3)},
        {"3j4 _1.5j_2 5 1e20j1e_5 0j_1 1j_ __j1",
         H::stringArray({7}, {"3j4", "_1.5j_2", "5", "1e20j1e_5", "0j_1", "1j_", "__j1"})},
        // symbols and sparse arrays
        {"s:' ab'", H::stringArray({1}, {"ab"})},
        {"s: <'ab'", H::string("ab")},
        {"$. 1 0 2", H::longArray({3}, {1, 0, 2})},
        {"1;s:' ab'", H::variantArray({2}, {H::boolean(true), H::variantArray({1}, {H::string("ab")})})},
    };
    for (const auto& [expression, value] : cases)
        EXPECT_EQ(eval(*j, QString::fromUtf8(expression)), value) << expression;
    EXPECT_DOUBLE_EQ(eval(*j, "!30x").doubles()->front(), 265252859812191058636308480000000.0);
    EXPECT_DOUBLE_EQ(eval(*j, "(2^200x) % 3").doubles()->front(), std::ldexp(1.0, 200) / 3);
    // The name list arrives as strings, and no conversion above left a name behind.
    EXPECT_EQ(eval(*j, "4!:1 (0 1 2 3)"), H::variantArray({1}, {H::string("J_Get")}));
}

// ---- GetB and Do codes, base locale ------------------------------------------------

TEST_F(JEngineTest, CodesFollowTheWindowsNumberingNameTheirJErrorAndTellVerbsAndBadNames) {
    const std::tuple<const char*, int, const char*> cases[] = {{"1 + undefinedname 2", 16, "value error"},
                                                               {"1 + 'a'", 3, "domain error"},
                                                               {"1 2 + 1 2 3", 9, "length error"},
                                                               {"1 +.. 2", 21, "spelling error"},
                                                               {"1+2", 0, ""}};
    for (const auto& [sentence, code, text] : cases) {
        EXPECT_EQ(j->Do(sentence), code) << sentence;
        EXPECT_EQ(j->ErrorText(code), QString::fromUtf8(text)) << sentence;
    }
    EXPECT_EQ(j->Do("J_Get=. "), 19);
    EXPECT_EQ(j->ErrorText(15), QStringLiteral("exit request"));
    EXPECT_FALSE(j->ErrorText(99).isEmpty());

    HostValue v = H::longValue(7);
    EXPECT_EQ(j->GetB("nosuchname", v), 16);
    EXPECT_TRUE(v.isEmpty());
    for (const char* definition : {"J_Get=. +/", "adv=: /", "conj=: @"}) ASSERT_EQ(j->Do(definition), 0);
    for (const char* name : {"J_Get", "adv", "conj"}) EXPECT_EQ(getB(name), 3) << name;
    for (const char* bad : {"", "1abc", "a b", "a__", "_a", "a.b", "a_b_c_d__", "x_", "名前"})
        EXPECT_EQ(getB(bad), 4) << bad;
    EXPECT_EQ(j->GetB(QString(300, QLatin1Char('a')), v), 4);
}

TEST_F(JEngineTest, NamesAreAddressedInBaseWhereEverySentenceStarts) {
    EXPECT_EQ(baseQualifiedName(" J_A "), QByteArray("J_A_base_"));
    for (const char* kept : {"a_z_", "a_12_", "a__b"}) EXPECT_EQ(baseQualifiedName(kept), QByteArray(kept));
    EXPECT_FALSE(baseQualifiedName("a_-_"));
    ASSERT_EQ(j->Do("r_xyz_=: 42"), 0);
    EXPECT_EQ(eval(*j, "r_xyz_"), H::longValue(42));

    ASSERT_EQ(j->Do("cocurrent 'xyz'"), 0);
    ASSERT_EQ(j->Do("q=: 5"), 0);
    EXPECT_EQ(getB("q_base_"), 0);
    EXPECT_EQ(eval(*j, "> 18!:5 ''"), H::string("base"));
    // Within one sentence the switch holds; reads and writes still address base.
    ASSERT_EQ(j->Do("w=: 6 [ cocurrent 'xyz'"), 0);
    EXPECT_EQ(getB("w"), 16);
    EXPECT_EQ(getB("w_xyz_"), 0);
    EXPECT_EQ(j->Set("J_A", H::longValue(1)), 0);
    EXPECT_EQ(eval(*j, "J_A_base_"), H::longValue(1));
}

// Blank sentences never reach J: after an error inside an explicit definition an empty
// line would open J's debugger. Line breaks are blanks.
TEST_F(JEngineTest, SentencesThatWouldWaitForInputReturnAtOnce) {
    ASSERT_EQ(j->Do("g=: 3 : 'y + 1 2 3'"), 0);
    EXPECT_EQ(j->Do("g 1 2"), 9);
    j->takeOutput();
    for (const char* blank : {"", "  \t ", "\r\n"}) EXPECT_EQ(j->Do(blank), 0);
    EXPECT_EQ(j->takeOutput(), QString());
    EXPECT_EQ(eval(*j, "1 +\r\n 2\r\n"), H::longValue(3));
    EXPECT_EQ(eval(*j, "1\n2\r3"), H::longArray({3}, {1, 2, 3}));
    EXPECT_EQ(eval(*j, "1\t+\t2"), H::longValue(3));
    EXPECT_EQ(j->Do(QStringLiteral("1+2") + QChar(0) + QStringLiteral("3")), 21);
    EXPECT_NE(j->Do(QStringLiteral("1 +\x01 2")), 0);

    EXPECT_EQ(eval(*j, "0 : 0"), H::string(QString()));  // a definition's further lines
    ASSERT_EQ(j->Do("13!:0 ]1"), 0);                     // J's debugger suspending on an error
    EXPECT_EQ(j->Do("g 1 2"), 9);
    EXPECT_EQ(j->Do("g 1 2"), 9);
    j->Do("13!:0 ]0");
    EXPECT_EQ(eval(*j, "1+2"), H::longValue(3));
}

// ---- Set and Clear -----------------------------------------------------------------

TEST_F(JEngineTest, SetKeepsPlainKindsMakesVariantsOfNumbersPlainRefusesTheRestAndClearLeavesOnlyTheLibrary) {
    const HostValue table = H::doubleArray({3, 2}, {1.5, -2, 3.25, 4, 1e300, 0});
    for (const HostValue& v : {H::longValue(-7), H::doubleValue(2.5), H::boolean(true),
                               H::longArray({2, 2}, {1, 2, 3, 4}), H::booleanArray({3}, {1, 0, 1}),
                               H::doubleArray({0}, {}), table, H::string(QStringLiteral("日本語 text"))}) {
        ASSERT_EQ(j->Set("J_B", v), 0);
        EXPECT_EQ(eval(*j, "J_B"), v) << v.type();
    }
    EXPECT_EQ(eval(*j, "# J_B"), H::longValue(14)) << "UTF-8 bytes in J";
    ASSERT_EQ(j->Set("J_A", table), 0);
    EXPECT_EQ(eval(*j, "$J_A"), H::longArray({2}, {3, 2}));
    EXPECT_EQ(eval(*j, "+/ , J_A"), H::doubleValue(1.5 - 2 + 3.25 + 4 + 1e300));

    const std::pair<HostValue, HostValue> plain[] = {
        {H::variantArray({2}, {H::longValue(1), H::doubleValue(0.5)}), H::doubleArray({2}, {1, 0.5})},
        {H::variantArray({2}, {H::longValue(1), H::boolean(true)}), H::longArray({2}, {1, 1})},
        {H::variant(H::doubleValue(4)), H::doubleValue(4)}};
    for (const auto& [given, held] : plain) {
        ASSERT_EQ(j->Set("J_C", given), 0);
        EXPECT_EQ(eval(*j, "J_C"), held);
    }
    for (const HostValue& refused :
         {H(), H::stringArray({2}, {"a", "b"}), H::variantArray({1}, {H::string("a")})})
        EXPECT_EQ(j->Set("J_D", refused), 3);
    EXPECT_EQ(j->Set("1bad", H::longValue(1)), 4);
    EXPECT_EQ(getB("J_D"), 16);

    // Clear leaves no user name but the library.
    for (const char* definition : {"a=: 1", "v=: +/", "adv=: /", "conj=: @", "J_Get=. 2"})
        ASSERT_EQ(j->Do(definition), 0) << definition;
    ASSERT_EQ(j->Set("J_A", H::doubleValue(1)), 0);
    j->Clear();
    EXPECT_EQ(eval(*j, "# 4!:1 (0 1 2 3)"), H::longValue(0));
    EXPECT_EQ(getB("a"), 16);
    EXPECT_EQ(getB("J_A"), 16);
    EXPECT_EQ(eval(*j, "3 = 4!:0 <'cocurrent_z_'"), H::boolean(true)) << "the library stays";
}

// ---- output --------------------------------------------------------------------------

TEST_F(JEngineTest, OutputIsCapturedAndNeverReachesTheTerminal) {
    QTemporaryFile terminal;
    ASSERT_TRUE(terminal.open());
    int saved[3] = {};
    fflush(nullptr);
    for (int fd : {1, 2}) saved[fd] = dup(fd), dup2(terminal.handle(), fd);
    const int codes[] = {j->Do("smoutput 'x'"), j->Do("1+2"), j->Do("1 + 'a'")};
    fflush(nullptr);
    for (int fd : {1, 2}) dup2(saved[fd], fd), close(saved[fd]);

    EXPECT_EQ(std::vector<int>(codes, codes + 3), (std::vector<int>{0, 0, 3}));
    EXPECT_EQ(readFile(terminal.fileName()), QByteArray());
    QString chunks;  // each as kind:text
    for (const auto& c : j->takeOutputChunks()) chunks += QString::number(c.kind) + ":" + c.text;
    EXPECT_TRUE(chunks.startsWith("6:x\n1:3\n2:|domain error")) << chunks.toStdString();
    EXPECT_EQ(j->takeOutput(), QString());
}

TEST_F(JEngineTest, OutputHandlerSeesOutputLiveMayNotCallBackAndGetsNoInspectionHint) {
    std::vector<std::pair<int, QString>> seen;
    int inner = -1;
    j->setOutputHandler([&](int kind, const QString& text) {
        seen.emplace_back(kind, text);
        if (inner == -1) inner = j->Do("1+1");
    });
    ASSERT_EQ(j->Do("g=: 3 : 'y + 1 2 3'"), 0);
    EXPECT_EQ(j->Do("g 1 2"), 9);
    EXPECT_EQ(j->Do("'日本'"), 0);
    EXPECT_EQ(j->Do("1+2"), 0) << "the handler may not re-enter, but the next call works";
    j->setOutputHandler({});
    EXPECT_EQ(inner, JEngine::kControlError);
    ASSERT_GE(seen.size(), 3u);
    for (const auto& [kind, text] : seen) EXPECT_FALSE(text.contains(QStringLiteral("Press ENTER")));
    EXPECT_EQ(seen[seen.size() - 2], std::make_pair(1, QStringLiteral("日本\n")));
    const QString kept = j->takeOutput();
    EXPECT_TRUE(kept.contains(QStringLiteral("length error")));
    EXPECT_FALSE(kept.contains(QStringLiteral("Press ENTER")));
}

// Engines that cannot start. Each case runs this test again in a fresh process (where no
// engine is loaded yet) with a J home of its own, named by KALVORET_TEST_CHILD.
TEST(JEngineCreate, ExplainsAMissingEngineAFileThatIsNoLibraryAndAProfileThatStops) {
    const QByteArray child = qgetenv("KALVORET_TEST_CHILD");
    if (child.isEmpty()) {
        QTemporaryDir broken,
            profileHome;  // a file that is not a library; the real engine beside a failing profile
        const auto candidates = jHomeCandidates();
        ASSERT_FALSE(candidates.empty());
        const QFileInfo realLibrary(jLibraryPath(candidates.front().folder));
        ASSERT_TRUE(realLibrary.exists());
        ASSERT_TRUE(QDir(broken.path()).mkpath("bin") && QDir(profileHome.path()).mkpath("bin"));
        for (const QString& file : {QStringLiteral("libj.so"), QStringLiteral("libgmp.so")})
            QFile::link(realLibrary.absolutePath() + "/" + file, profileHome.path() + "/bin/" + file);
        writeFile(broken.path() + "/bin/libj.so", "not a library");
        writeFile(profileHome.path() + "/bin/profile.ijs", "x =. 1 + 'a'\n");
        for (const auto& [name, home] : {std::pair{"missing", QStringLiteral("/nonexistent/kalvoret-j-home")},
                                         {"broken", broken.path()},
                                         {"profile", profileHome.path()}}) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("KALVORET_TEST_CHILD", name);
            env.insert("KALVORET_J_HOME", home);
            p.setProcessEnvironment(env);
            p.setProcessChannelMode(QProcess::MergedChannels);
            p.start(QCoreApplication::applicationFilePath(),
                    {"--gtest_filter=JEngineCreate."
                     "ExplainsAMissingEngineAFileThatIsNoLibraryAndAProfileThatStops"});
            ASSERT_TRUE(p.waitForFinished(60000));
            const QByteArray log = p.readAll();
            EXPECT_TRUE(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 &&
                        log.contains("[  PASSED  ] 1 test"))
                << name << ": " << log.toStdString();
        }
        return;
    }
    QString error;
    EXPECT_EQ(JEngine::create(&error), nullptr);
    const QString home = qEnvironmentVariable("KALVORET_J_HOME");
    QStringList expected = {home + "/bin/libj.so"}, absent;
    if (child == "missing")
        expected << QStringLiteral("J エンジン") << QStringLiteral("file not found")
                 << QStringLiteral("pip install") << QStringLiteral("jlanguage==9.7.1.1")
                 << QStringLiteral("scripts/setup");
    else if (child == "broken")  // dlopen's reason is passed on
        absent << QStringLiteral("file not found");
    else
        expected = {QStringLiteral("profile.ijs"), QStringLiteral("domain error")};
    for (const QString& part : expected) EXPECT_TRUE(error.contains(part)) << error.toStdString();
    for (const QString& part : absent) EXPECT_FALSE(error.contains(part)) << error.toStdString();
}

// The set variable alone; else the build's folder, then the usual folders (python3 is not
// asked while the build's folder holds J); python3's answer is the package's j folder.
TEST(JHome, LookupOrder) {
    const QByteArray env = qgetenv("KALVORET_J_HOME");
    ASSERT_FALSE(env.isEmpty());
    auto folders = [] {
        QStringList out;
        for (const JHomeCandidate& c : jHomeCandidates()) out << c.folder + " (" + c.origin + ")";
        return out;
    };
    EXPECT_EQ(folders(), QStringList{QString::fromLocal8Bit(env) + " (KALVORET_J_HOME)"});
    qunsetenv("KALVORET_J_HOME");
    const QStringList all = folders();
    qputenv("KALVORET_J_HOME", env);
    QStringList expected{QStringLiteral(KALVORET_J_HOME_DEFAULT " (build default)")};
    for (const QString& f : usualJHomes()) expected << f + " (usual folder)";
    EXPECT_EQ(all, expected);

    QTemporaryDir site;
    ASSERT_TRUE(QDir(site.path()).mkpath("jlang"));
    writeFile(site.path() + "/jlang/__init__.py", "");
    const QByteArray pythonPath = qgetenv("PYTHONPATH");
    qputenv("PYTHONPATH", site.path().toLocal8Bit());
    const QString found = pythonJHome();
    qputenv("PYTHONPATH", pythonPath);
    EXPECT_EQ(QDir::cleanPath(found), QDir::cleanPath(site.path() + "/jlang/j"));
}

}  // namespace
