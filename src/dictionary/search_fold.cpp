#include "dictionary/search_fold.h"

#include <QChar>
#include <QList>
#include <array>
#include <vector>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Half-width katakana and marks U+FF61..U+FF9F as full-width characters.
constexpr char16_t kHalfWidth[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,  // ｡｢｣､･ｦｧｨｩｪｫ
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA,  // ｬｭｮｯｰｱｲｳｴｵ
    0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD,  // ｶｷｸｹｺｻｼｽｾｿ
    0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE,  // ﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉ
    0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2,  // ﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓ
    0x30E4, 0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3,  // ﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ
    0x309B, 0x309C};                                                                 // ﾞﾟ
static_assert(std::size(kHalfWidth) == 0xFF9F - 0xFF61 + 1);

// The ASCII letter under an accented Latin letter (ǚ -> u), 0 for none; the
// Latin-1, Extended-A/B and Extended Additional blocks, from Unicode's own
// canonical decompositions.
char16_t latinBase(char32_t c) {
    struct Table {
        std::array<char16_t, 0x250 - 0xC0> low{};
        std::array<char16_t, 0x100> additional{};
        static char16_t baseOf(char32_t c) {
            char32_t cur = c;
            while (QChar::decompositionTag(cur) == QChar::Canonical) {
                const QString d = QChar::decomposition(cur);
                if (d.isEmpty()) break;
                cur = d.at(0).unicode();
            }
            return cur != c && cur < 0x80 ? static_cast<char16_t>(cur) : 0;
        }
        Table() {
            for (char32_t c = 0xC0; c < 0x250; ++c) low[c - 0xC0] = baseOf(c);
            for (char32_t c = 0x1E00; c < 0x1F00; ++c) additional[c - 0x1E00] = baseOf(c);
        }
    };
    static const Table table;
    if (c >= 0xC0 && c < 0x250) return table.low[c - 0xC0];
    if (c >= 0x1E00 && c < 0x1F00) return table.additional[c - 0x1E00];
    return 0;
}

bool isVoicedMark(char32_t c) { return c == 0x3099 || c == 0x309B || c == 0xFF9E; }
bool isSemiVoicedMark(char32_t c) { return c == 0x309A || c == 0x309C || c == 0xFF9F; }

// Hiragana with a voiced mark after it, 0 when the two do not join.
char32_t voiced(char32_t c) {
    if ((c >= 0x304B && c <= 0x3062 && c % 2 == 1) || (c >= 0x3064 && c <= 0x3068 && c % 2 == 0))
        return c + 1;
    if (c >= 0x306F && c <= 0x307B && (c - 0x306F) % 3 == 0) return c + 1;  // は ひ ふ へ ほ
    if (c == 0x3046) return 0x3094;                                         // う
    if (c == 0x309D) return 0x309E;                                         // ゝ
    return 0;
}
char32_t semiVoiced(char32_t c) { return c >= 0x306F && c <= 0x307B && (c - 0x306F) % 3 == 0 ? c + 2 : 0; }

bool isBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0xA0 || c == 0x3000;
}
bool isApostrophe(char32_t c) {
    return c == '\'' || c == 0x2018 || c == 0x2019 || c == 0x02BC || c == 0xFF07;
}

// One code point folded; 0 drops it. A voiced mark in next that joins c is
// taken into it, and tookNext says so.
char32_t foldOne(char32_t c, char32_t next, SearchFold::Kind kind, bool& tookNext) {
    tookNext = false;
    if (c >= 0x3400 && c < 0xA000) return c;  // kanji, the bulk of the words
    if (c >= 'A' && c <= 'Z')
        c += 'a' - 'A';
    else if (c >= 0xFF10 && c <= 0xFF19)
        c = '0' + (c - 0xFF10);
    else if (c >= 0xFF21 && c <= 0xFF3A)
        c = 'a' + (c - 0xFF21);
    else if (c >= 0xFF41 && c <= 0xFF5A)
        c = 'a' + (c - 0xFF41);

    switch (kind) {
        case SearchFold::Plain:
            return c;
        case SearchFold::Pinyin:
            if (isBlank(c) || isApostrophe(c) || (c >= 0x300 && c <= 0x36F)) return 0;
            if (const char16_t base = latinBase(c))
                c = base >= 'A' && base <= 'Z' ? base + ('a' - 'A') : base;
            return c == 'v' ? U'u' : c;
        case SearchFold::Reading:
            break;
    }
    if (c >= 0xFF61 && c <= 0xFF9F) c = kHalfWidth[c - 0xFF61];
    if ((c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE) c -= 0x60;
    if (isVoicedMark(next)) {
        if (const char32_t v = voiced(c)) {
            tookNext = true;
            return v;
        }
    } else if (isSemiVoicedMark(next)) {
        if (const char32_t v = semiVoiced(c)) {
            tookNext = true;
            return v;
        }
    }
    return c;
}

// The next code point of UTF-8 text, advancing p; malformed bytes give U+FFFD.
char32_t decodeUtf8(const unsigned char*& p, const unsigned char* end) {
    const unsigned char b = *p++;
    if (b < 0x80) return b;
    int more = 0;
    char32_t c = 0, min = 0;
    if ((b & 0xE0) == 0xC0) {
        more = 1, c = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        more = 2, c = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        more = 3, c = b & 0x07, min = 0x10000;
    } else {
        return kReplacement;
    }
    for (int i = 0; i < more; ++i) {
        if (p == end || (*p & 0xC0) != 0x80) return kReplacement;
        c = (c << 6) | (*p++ & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacement;
    return c;
}

char* appendUtf8(char* out, char32_t c) {
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

}  // namespace

QString SearchFold::operator()(QStringView text) const {
    const QList<uint> in = text.toUcs4();
    std::vector<char32_t> out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        bool tookNext = false;
        const char32_t next = i + 1 < in.size() ? in[i + 1] : 0;
        if (const char32_t c = foldOne(in[i], next, m_kind, tookNext)) out.push_back(c);
        if (tookNext) ++i;
    }
    return QString::fromUcs4(out.data(), static_cast<qsizetype>(out.size()));
}

void SearchFold::utf8(std::string_view text, std::string& out) const {
    // Written through a pointer: a folded character never takes more than three
    // times the bytes it came from (one bad byte becomes U+FFFD).
    out.resize(text.size() * 3);
    char* o = out.data();
    bool ascii = true;
    for (const char ch : text) ascii = ascii && static_cast<unsigned char>(ch) < 0x80;
    if (ascii) {
        // The keys and English words: a byte at a time.
        for (const char ch : text) {
            if (ch == '\0') continue;
            char c = ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + ('a' - 'A')) : ch;
            if (m_kind == Pinyin) {
                if (isBlank(static_cast<unsigned char>(c)) || c == '\'') continue;
                if (c == 'v') c = 'u';
            }
            *o++ = c;
        }
        out.resize(static_cast<std::size_t>(o - out.data()));
        return;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    bool have = p < end;
    char32_t c = have ? decodeUtf8(p, end) : 0;
    while (have) {
        bool haveNext = p < end;
        char32_t next = haveNext ? decodeUtf8(p, end) : 0;
        bool tookNext = false;
        if (const char32_t f = foldOne(c, next, m_kind, tookNext)) o = appendUtf8(o, f);
        if (tookNext) {
            haveNext = p < end;
            next = haveNext ? decodeUtf8(p, end) : 0;
        }
        have = haveNext;
        c = next;
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
}

bool SearchFold::keeps(std::string_view text) const {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            if (b == 0 || (b >= 'A' && b <= 'Z')) return false;
            if (m_kind == Pinyin && (isBlank(b) || b == '\'' || b == 'v')) return false;
            ++p;
            continue;
        }
        // Pinyin folds accents and blanks of many kinds; EF.. holds the full- and
        // half-width forms; E3 82 99.. and E3 83 .. the kana marks and katakana.
        if (m_kind == Pinyin || b == 0xEF) return false;
        const int more = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
        if (b < 0xC2 || b > 0xF4 || end - p < more + 1) return false;
        for (int i = 1; i <= more; ++i)
            if ((p[i] & 0xC0) != 0x80) return false;
        if ((b == 0xE0 && p[1] < 0xA0) || (b == 0xED && p[1] >= 0xA0) || (b == 0xF0 && p[1] < 0x90) ||
            (b == 0xF4 && p[1] >= 0x90))
            return false;  // overlong, a surrogate or beyond U+10FFFF
        if (m_kind == Reading && b == 0xE3 && (p[1] == 0x83 || (p[1] == 0x82 && p[2] >= 0x99))) return false;
        p += more + 1;
    }
    return true;
}

bool SearchFold::hasHan(QStringView text) {
    for (const uint c : text.toUcs4())
        if (QChar::script(c) == QChar::Script_Han) return true;
    return false;
}

bool SearchFold::hasKanjiOrKatakana(QStringView text) {
    for (const uint c : text.toUcs4()) {
        const QChar::Script s = QChar::script(c);
        if (s == QChar::Script_Han || s == QChar::Script_Katakana) return true;
    }
    return false;
}
