#pragma once

#include <QString>
#include <string>
#include <string_view>

// Makes what a user types and what the table holds comparable. Every kind folds
// full-width ASCII letters and digits to ASCII and ASCII letters to lower case;
//   Reading  also katakana, full- or half-width, to hiragana (ー stays), a voiced
//            mark joined to the kana before it;
//   Pinyin   also drops tone marks and other accents, blanks and apostrophes,
//            and writes ü and v as u.
// "%", "_" and quotes pass through, so a folded pattern keeps its wildcards.
class SearchFold {
public:
    enum Kind { Plain, Reading, Pinyin };

    explicit SearchFold(Kind kind) : m_kind(kind) {}

    QString operator()(QStringView text) const;
    // The same folding on UTF-8, as the database hands its values over; bytes
    // that are not UTF-8 become U+FFFD.
    void utf8(std::string_view text, std::string& out) const;
    // True when utf8() would give the same bytes back (well-formed text with
    // nothing to fold), which is quicker to tell than to fold. It may say false
    // for some texts that fold to themselves, never true for one that does not.
    bool keeps(std::string_view text) const;

    // Whether the text holds a Han character (kanji), or kanji or katakana.
    static bool hasHan(QStringView text);
    static bool hasKanjiOrKatakana(QStringView text);

private:
    Kind m_kind;
};
