#include "eval/jvar_list.h"
#include "app/frmjmain.h"
#include "base/j_output_text.h"
#include "controls/flex_grid.h"
#include "engine/jdll_engine.h"
#include "matrix/type_names.h"
#include "support/test_app.h"

#include <gtest/gtest.h>

namespace {

TEST(Rendering, PutsABlankBeforeEachElementAndEndsRows) {
    const std::pair<HostValue, QString> cases[] = {
        {HostValue::doubleValue(1e20), "1E+20"},
        {HostValue::variantArray(
             {3}, {HostValue::string("J_Get"), HostValue::string("a"), HostValue::boolean(true)}),
         " a 1"},  // J_Get is left out of a list
        {HostValue::longArray({2, 2}, {1, -2, 3, 4}), " 1 -2\r\n 3 4\r\n"},
        {HostValue::longArray({2, 1, 2}, {0, 1, 2, 3}), " 0 1\r\n\r\n 2 3\r\n\r\n"},
        {HostValue::longArray({1, 1, 1, 2}, {1, 2}), ""}};
    for (const auto& [value, text] : cases) {
        const JRendering r = RenderJValueLimited(value);
        EXPECT_EQ(r.text, text);
        EXPECT_FALSE(r.failed || r.truncated) << text.toStdString();
    }
}

TEST(RenderingLimit, CutsAtAnElementBoundaryByWholeSizeOrLineLength) {
    const HostValue v = HostValue::longArray({2, 3}, {10, 11, 12, 13, 14, 15});
    const JRendering bySize = RenderJValueLimited(v, {13, 1000});
    EXPECT_EQ(
        renderedLogText(bySize),
        " 10 11 12\r\n※ 結果が大きすぎるため、表示を全 6 要素のうち先頭の 3 要素で打ち切りました。\r\n\r\n");
    EXPECT_EQ(RenderJValueLimited(v, {1000, 9}).text, " 10 11 12\r\n 13 14 15\r\n");
    EXPECT_EQ(RenderJValueLimited(v, {1000, 8}).text, " 10 11");
    // Millions of empty rows would otherwise be millions of line ends.
    EXPECT_EQ(RenderJValueLimited(HostValue::longArray({5'000'000, 0}, {}), {100, 1000}).text.size(), 100);

    // A string is cut between characters, never inside a surrogate pair; its lines count apart.
    const JRendering s = RenderJValueLimited(HostValue::string(QString::fromUcs4(U"ab\r\nabc😀d")), {1000, 4});
    EXPECT_EQ(s.text, "ab\r\nabc");
    EXPECT_EQ(renderCutNote(s),
              "※ 結果が大きすぎるため、表示を全 9 文字のうち先頭の 7 文字で打ち切りました。");

    // What J printed is cut the same way, counting what J printed past the kept output.
    const JPrintedText out = splitJOutput(
        {{6, "a\nb\n"}, {2, "|domain error\n|   J_Get_base_=:1    +'a'\n"}, {1, "xx"}, {0, {}, 5}},
        QStringLiteral("J_Get_base_=: "));
    EXPECT_EQ(
        printedLogText(out.printed),
        "a\r\nb\r\nxx\r\n※ 出力が大きすぎるため、表示を全 15 文字のうち先頭の 10 文字で打ち切りました。\r\n");
    EXPECT_EQ(out.report, "|domain error\r\n|   1    +'a'\r\n");
    EXPECT_EQ(printedRendering(QString::fromUcs4(U"ab\nabc😀d"), 0, {1000, 4}).text, "ab\r\nabc");
}

class JVarListTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.showMain();
        ASSERT_TRUE(t.app().hasEngine());
    }
    void define(const char* sentence) { ASSERT_EQ(t.app().J().Do(sentence), 0) << sentence; }
    QString listed() {
        const FlexGrid& g = *t.main().MSFlexGrid2;
        QStringList out;
        for (int r = 0; r < g.Rows(); ++r)
            out << g.TextMatrix(r, 0) + "|" + g.TextMatrix(r, 1) + "|" + g.TextMatrix(r, 2);
        return out.join('/');
    }
    JVarList& list() { return *t.main().jvarList; }
    JVarState& tables() { return t.app().jvars; }
    TestApp t;
};

TEST_F(JVarListTest, ListsNounsOfUpToTwoDimensionsAndWarnsOnceAboutTheRest) {
    for (const char* s : {"a=: 5", "b=: i. 3", "c=: i. 2 4", "s=: 'hello'", "t=: i. 2 2 2", "w=: '日本語'"})
        define(s);
    list().RefreshFromJ(false);
    list().RefreshFromJ(false);

    // 4!:1 sorts by bytes, so J_Get would come first: it is never listed.
    EXPECT_EQ(listed(),
              "変数|ｻｲｽﾞ|変数型/a||[長整数型]/b|(3)|配列, [長整数型]/c|(2,4)|配列, [長整数型]/"
              "s|5文字|[文字列型]/w|3文字|[文字列型]");
    EXPECT_EQ(std::make_tuple(tables().count(), tables().JVarTable[3].rows, tables().JVarTable[3].cols),
              std::make_tuple(5, 2, 4));

    ASSERT_EQ(t.msgBox.calls.size(), 1u);
    EXPECT_EQ(t.msgBox.calls[0].prompt,
              "現在のバージョンでは、扱える行列は2次元までです。\rしたがって、Ｊで生成された変数は一般用に変"
              "換しません。\r"
              "Ｊコマンドでは使用できます。\r変数名=t\r次元数=3");
    EXPECT_EQ(t.msgBox.calls[0].buttons, mb::Exclamation);

    // A name keeps its row; an atom does not keep the size its list had.
    define("b=: 7");
    list().RefreshFromJ(false);
    EXPECT_TRUE(listed().contains("/b||[長整数型]/c|")) << listed().toStdString();

    list().InitJVarList();
    list().RefreshFromJ(false);
    EXPECT_EQ(t.msgBox.calls.size(), 2u);  // warned again after a new start
}

TEST_F(JVarListTest, TheTablesGrowPastFiftyNounsAndAHundredWideNames) {
    define("(('n',\":)&.> i. 60) =: <\"0 i. 60");
    define("(('w',\":)&.> i. 105) =: < i. 1 1 1");
    list().RefreshFromJ(false);
    list().RefreshFromJ(false);
    EXPECT_EQ(std::make_tuple(tables().count(), tables().WideCount, t.msgBox.calls.size()),
              std::make_tuple(60, 105, std::size_t{105}));
    EXPECT_EQ(t.main().MSFlexGrid2->TextMatrix(60, 0), tables().JVarTable[60].name);
}

// Passes every call to the real engine and notes which names are read.
class CountingEngine final : public IJEngine {
public:
    explicit CountingEngine(std::unique_ptr<IJEngine> e) : m_e(std::move(e)) {}
    int Do(const QString& s) override { return m_e->Do(s); }
    int GetB(const QString& name, HostValue& v) override {
        reads << name;
        return m_e->GetB(name, v);
    }
    int Set(const QString& name, const HostValue& v) override { return m_e->Set(name, v); }
    QString ErrorText(int code) override { return m_e->ErrorText(code); }
    void Clear() override { m_e->Clear(); }
    QStringList reads;

private:
    std::unique_ptr<IJEngine> m_e;
};

// The list tells each noun's kind and size from J's description alone, with the texts
// that reading the value gives; only atoms whose text decides their size are read.
TEST(JVarListRefresh, EveryKindOfNounIsListedAsItsValueWouldListItWithoutReadingIt) {
    TestApp t;
    CountingEngine* counting = nullptr;
    t.engineFactory = [&counting](QString* error) -> std::unique_ptr<IJEngine> {
        auto e = std::make_unique<CountingEngine>(JEngine::create(error));
        counting = e.get();
        return e;
    };
    t.showMain();
    ASSERT_TRUE(t.app().hasEngine());
    const char* nouns[] = {
        "b0=: 1",          "bl=: 1 0 1",     "bt=: 2 2$1 0",   "i0=: 7",          "il=: i. 3",
        "it=: i. 2 3",     "f0=: 0.25",      "fl=: 1.5 2",     "ft=: 2 3$0.5",    "c0=: 3j4",
        "cl=: 1j2 3",      "ca=: 'a'",       "s=: 'héllo'",    "s0=: ''",         "ct=: 2 3$'abcdef'",
        "cu=: 7 u: 'ab€'", "bx=: 1;'ab'",    "bxt=: 2 2$<'a'", "ba=: <1 2",       "el=: i. 0",
        "et=: 0 3$0",      "x0=: 2x^70",     "xl=: 1 2x",      "xb=: 1 , 2x^70",  "q=: 1r3 2",
        "sy=: s: ' a b'",  "sy0=: s: <'ab'", "sp=: $. 0 1 0",  "spt=: $. 2 2$0.5"};
    for (const char* s : nouns) ASSERT_EQ(t.app().J().Do(s), 0) << s;
    counting->reads.clear();
    t.main().jvarList->RefreshFromJ(false);
    EXPECT_EQ(counting->reads, QStringList({"J_Get", "info_kalvoret_", "c0", "sy0"}));

    const FlexGrid& g = *t.main().MSFlexGrid2;
    ASSERT_EQ(g.Rows(), static_cast<int>(std::size(nouns)) + 1);
    for (int r = 1; r < g.Rows(); ++r) {
        const QString name = g.TextMatrix(r, 0);
        HostValue v;
        ASSERT_EQ(t.app().J().GetB(name, v), 0) << name.toStdString();
        const auto& d = v.dims();
        const QString size = !v.isArray()    ? (v.elementType() == vt::String
                                                    ? QString::number(characterCount(*v.text())) + "文字"
                                                    : QString())
                             : d.size() == 1 ? QStringLiteral("(%1)").arg(d[0])
                                             : QStringLiteral("(%1,%2)").arg(d[0]).arg(d[1]);
        EXPECT_EQ(g.TextMatrix(r, 1) + "|" + g.TextMatrix(r, 2), size + "|" + TypeNameShort(v.type()))
            << name.toStdString();
    }
}

TEST_F(JVarListTest, FixingAMatrixListsTablesInFullAndOtherNounsByNameOnly) {
    define("J_A=: 3 2 $ 1.5");
    define("k=: 4");
    list().RefreshFromJ(true);
    EXPECT_EQ(listed(), "変数|ｻｲｽﾞ|変数型/J_A|(3,2)|配列, [倍浮動小数型]/k||");
    EXPECT_EQ(tables().JCurrent, 2);
}

}  // namespace
