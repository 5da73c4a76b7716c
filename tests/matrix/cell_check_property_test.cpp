// A million random cell texts through validation and conversion: nothing
// crashes, and a text is stored only when it passed the check and is a finite
// plain decimal number, with strtod's value.
#include "matrix/cell_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

// Characters the check cares about, look-alikes, and a few that stress the
// text handling: NUL, a lone surrogate, a surrogate pair, line ends.
const char16_t kAlphabet[] = {u'0',      u'1',      u'9',      u'.',      u'-',      u'E', u'e',  u'+',
                              u' ',      u'\u3000', u'\t',     u',',      u'a',      u'i', u'n',  u'f',
                              u'\uFF11', u'\0',     u'\xD800', u'\xD83D', u'\xDE00', u'_', u'\r', u'\u00A0'};

// An independent description of what may be stored: -?(d+.?d*|.d+)([eE]-?d+)?
bool isPlainDecimal(const std::u16string& s) {
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') ++i;
        return i - start;
    };
    if (i < s.size() && s[i] == u'-') ++i;
    std::size_t mantissa = digits();
    if (i < s.size() && s[i] == u'.') ++i, mantissa += digits();
    if (mantissa == 0) return false;
    if (i < s.size() && (s[i] == u'E' || s[i] == u'e')) {
        ++i;
        if (i < s.size() && s[i] == u'-') ++i;
        if (digits() == 0) return false;
    }
    return i == s.size();
}

std::u16string randomText(std::mt19937_64& rng) {
    std::uniform_int_distribution<int> roll(0, 99);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kAlphabet) - 1);
    std::u16string s;
    if (roll(rng) < 50) {  // anything over the alphabet
        for (int n = roll(rng) % 9; n > 0; --n) s.push_back(kAlphabet[pick(rng)]);
        return s;
    }
    // Number-shaped: blanks, sign, digits, point, exponent, each part maybe
    // missing or replaced; now and then a run of hundreds of digits.
    for (const char16_t* part : {u" ", u"-", u"0", u".", u"0", u"E", u"-", u"0", u" "}) {
        const int r = roll(rng);
        if (r < 25) continue;
        if (r < 30)
            s.push_back(kAlphabet[pick(rng)]);
        else if (*part != u'0')
            s += part;
        else
            for (int n = r > 98 ? 400 : 1 + r % 4; n > 0; --n)
                s.push_back(static_cast<char16_t>(u'0' + roll(rng) % 10));
    }
    return s;
}

TEST(CellCheckProperty, AMillionRandomTextsStoreOnlySoundNumbers) {
    const std::uint64_t seed = 20240611;
    std::mt19937_64 rng(seed);
    int stored = 0;
    for (int n = 0; n < 1'000'000; ++n) {
        const std::u16string raw = randomText(rng);
        QString text = QString::fromUtf16(raw.data(), static_cast<qsizetype>(raw.size()));
        DataErrorList list;
        std::int16_t started = 0;
        const std::optional<double> v = CheckAndConvertCell(1, 1, text, list, started);

        std::size_t b = 0, e = raw.size();
        while (b < e && (raw[b] == u' ' || raw[b] == u'\u3000')) ++b;
        while (e > b && (raw[e - 1] == u' ' || raw[e - 1] == u'\u3000')) --e;
        const std::u16string trimmed = raw.substr(b, e - b);
        bool sound = isPlainDecimal(trimmed);
        const double expected =
            sound ? std::strtod(std::string(trimmed.begin(), trimmed.end()).c_str(), nullptr) : 0;
        sound = sound && std::isfinite(expected);

        ASSERT_EQ(v.has_value(), sound) << "seed " << seed << " case " << n;
        ASSERT_EQ(started, sound ? 0 : 1);
        ASSERT_EQ(list.refusals(), sound ? 0 : 1);  // one line per refused cell
        if (v) {
            ++stored;
            ASSERT_EQ(scanCellText(text), CellError::None);
            ASSERT_EQ(std::memcmp(&*v, &expected, sizeof expected), 0) << "case " << n;
        }
    }
    // Both outcomes must be common, or the property says little.
    EXPECT_GT(stored, 100'000);
    EXPECT_LT(stored, 900'000);
}

}  // namespace
