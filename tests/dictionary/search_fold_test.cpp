#include "dictionary/search_fold.h"

#include <gtest/gtest.h>

namespace {

using F = SearchFold;

const std::tuple<F::Kind, const char*, const char*> kCases[] = {
    // every kind: full-width letters and digits, ASCII case; wildcards and quotes stay
    {F::Plain, "ＡＮＯＶＡ", "anova"},
    {F::Plain, "Ｔ検定 ２", "t検定 2"},
    {F::Plain, "100%_\"it's\"", "100%_\"it's\""},
    {F::Plain, "データ É", "データ É"},  // only the kinds below go further
    // reading: katakana and half-width kana as hiragana, ー kept, voiced marks joined
    // (the searches' own table has the plain cases: データ, ﾃﾞｰﾀ, でーた, jilu, jilv...)
    {F::Reading, "ﾃﾞｰﾀ", "でーた"},
    {F::Reading, "ﾊﾟﾗﾒｰﾀ", "ぱらめーた"},
    {F::Reading, "ｳﾞｨ ヴィ ヶ ヽヾ", "ゔぃ ゔぃ ゖ ゝゞ"},
    {F::Reading, "ト\u3099 は\u309A", "ど ぱ"},  // combining marks
    {F::Reading, "ｱﾞ ﾞ", "あ゛ ゛"},             // marks that join nothing stay apart
    {F::Reading, "ＰＣＡ ﾃｽﾄ％", "pca てすと％"},
    // pinyin: tones, blanks, apostrophes, ü = v = u, case
    {F::Pinyin, "ji lu", "jilu"},
    {F::Pinyin, "JÌ LǙ", "jilu"},
    {F::Pinyin, "tǒng jì", "tongji"},
    {F::Pinyin, "ā á ǎ à ē é ě è ī í ǐ ì ō ó ǒ ò ū ú ǔ ù ǖ ǘ ǚ ǜ ü", "aaaaeeeeiiiioooouuuuuuuuu"},
    {F::Pinyin, "xi'an xi’an", "xianxian"},
    {F::Pinyin, "lu\u0308\u0300", "lu"},  // decomposed tone marks
    {F::Pinyin, "ｔｏｎｇ\u3000ｊｉ\t%_\"", "tongji%_\""},
    {F::Pinyin, "統計 ー", "統計ー"},
};

TEST(SearchFold, FoldsWhatUsersTypeAndWhatTheTableHolds) {
    for (const auto& [kind, typed, folded] : kCases) {
        const F fold(kind);
        EXPECT_EQ(fold(QString::fromUtf8(typed)), QString::fromUtf8(folded)) << typed;
        // The database side folds the same bytes to the same text.
        std::string out;
        fold.utf8(typed, out);
        EXPECT_EQ(out, folded) << typed;
        // Its quick check passes only texts that fold to themselves.
        for (const std::string& s : {std::string(typed), std::string(folded)}) {
            fold.utf8(s, out);
            EXPECT_TRUE(!fold.keeps(s) || out == s) << s;
        }
    }
    EXPECT_TRUE(F(F::Reading).keeps("とうけい12345 統計学"));
    EXPECT_TRUE(F(F::Pinyin).keeps("tongji"));
    EXPECT_FALSE(F(F::Reading).keeps("\xe3\x81"));
}

TEST(SearchFold, BrokenUtf8BecomesReplacementCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"a\xffz", "a\uFFFDz"},         {"\xe3\x81", "\uFFFD"},  // cut short at the end
        {"\xc0\xaf", "\uFFFD"},                                  // overlong
        {"\xed\xa0\x80", "\uFFFD"},                              // a surrogate
        {std::string("a\0b", 3), "ab"}, {std::string("\0\xe3\x81\x82", 4), "あ"},
    };
    for (const auto& [in, want] : cases) {
        std::string out;
        F(F::Reading).utf8(in, out);
        EXPECT_EQ(out, want);
    }
}

TEST(SearchFold, TellsWhichTextsAlsoMatchTheWords) {
    const std::tuple<const char*, bool, bool> cases[] = {
        // text, Han, kanji or katakana
        {"機率", true, true},   {"データ", false, true}, {"ﾃﾞｰﾀ", false, true},      {"でーた", false, false},
        {"jilu", false, false}, {"t檢定", true, true},   {"\U00020000", true, true},  // beyond the BMP
    };
    for (const auto& [text, han, kanjiOrKatakana] : cases) {
        EXPECT_EQ(F::hasHan(QString::fromUtf8(text)), han) << text;
        EXPECT_EQ(F::hasKanjiOrKatakana(QString::fromUtf8(text)), kanjiOrKatakana) << text;
    }
}

}  // namespace
