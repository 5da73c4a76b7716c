// Random cell texts through validation and conversion: nothing crashes, and a
// text is stored only when it passed the check and is a finite decimal number.
#include "controls/sheet_model.h"
#include "matrix/cell_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

// Characters the check treats specially, their look-alikes, and a few that
// stress the text handling (a NUL, a lone surrogate, a character outside the BMP
// as a surrogate pair).
const char16_t kAlphabet[] = {u'0', u'1', u'5', u'9', u'.',   u'-',   u'E',    u'e',    u'+',    u' ',  u'\u3000',
                              u'\t', u',', u'a', u'x', u'i',  u'n',   u'f',    u'\uFF11', u'\u30FC', u'\0', u'\xD800',
                              u'\xD83D', u'\xDE00', u'_', u'\r', u'\n', u'\u00A0', u'D', u'p'};

// An independent description of a plain decimal: -?(d+.?d*|.d+)([eE]-?d+)?
bool isPlainDecimal(const std::u16string& s) {
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') ++i;
        return i - start;
    };
    if (i < s.size() && s[i] == u'-') ++i;
    std::size_t mantissa = digits();
    if (i < s.size() && s[i] == u'.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return false;
    if (i < s.size() && (s[i] == u'E' || s[i] == u'e')) {
        ++i;
        if (i < s.size() && s[i] == u'-') ++i;
        if (digits() == 0) return false;
    }
    return i == s.size();
}

std::u16string trimmedBlanks(const std::u16string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == u' ' || s[b] == u'\u3000')) ++b;
    while (e > b && (s[e - 1] == u' ' || s[e - 1] == u'\u3000')) --e;
    return s.substr(b, e - b);
}

std::u16string randomText(std::mt19937_64& rng) {
    std::uniform_int_distribution<int> kind(0, 99);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kAlphabet) - 1);
    std::uniform_int_distribution<int> digit(0, 9);
    const int k = kind(rng);
    std::u16string s;
    if (k < 60) {  // short texts over the whole alphabet
        const int n = std::uniform_int_distribution<int>(0, 8)(rng);
        for (int i = 0; i < n; ++i) s.push_back(kAlphabet[pick(rng)]);
    } else if (k < 95) {  // mostly number-shaped texts with an occasional stray character
        const char16_t shape[] = {u'-', u'0', u'.', u'0', u'E', u'-', u'0'};
        for (char16_t c : shape) {
            const int roll = std::uniform_int_distribution<int>(0, 9)(rng);
            if (roll < 3) continue;
            if (roll == 9) {
                s.push_back(kAlphabet[pick(rng)]);
                continue;
            }
            if (c == u'0') {
                const int n = std::uniform_int_distribution<int>(1, 4)(rng);
                for (int i = 0; i < n; ++i) s.push_back(static_cast<char16_t>(u'0' + digit(rng)));
            } else {
                s.push_back(c);
            }
        }
    } else {  // long digit runs and huge exponents
        const int n = std::uniform_int_distribution<int>(1, 400)(rng);
        for (int i = 0; i < n; ++i) s.push_back(static_cast<char16_t>(u'0' + digit(rng)));
        if (kind(rng) < 50) s += u"E" + std::u16string(kind(rng) < 50 ? u"-" : u"") + u"3" + u"0" + u"9";
    }
    return s;
}

TEST(CellCheckProperty, MillionRandomTextsStoreOnlySoundNumbers) {
    constexpr int kTexts = 1'000'000;
    const std::uint64_t seed = 20240611;
    std::mt19937_64 rng(seed);
    int stored = 0, refused = 0;
    for (int n = 0; n < kTexts; ++n) {
        const std::u16string raw = randomText(rng);
        QString text = QString::fromUtf16(raw.data(), static_cast<qsizetype>(raw.size()));
        DataErrorList list;
        std::int16_t started = 0;
        const std::optional<double> v = CheckAndConvertCell(1, 1, text, list, started);

        const std::u16string trimmed = trimmedBlanks(raw);
        ASSERT_EQ(text, QString::fromUtf16(trimmed.data(), static_cast<qsizetype>(trimmed.size())));
        bool expectStored = isPlainDecimal(trimmed);
        double expected = 0;
        if (expectStored) {
            const std::string ascii(trimmed.begin(), trimmed.end());
            expected = std::strtod(ascii.c_str(), nullptr);  // the tests run with LC_NUMERIC "C"
            expectStored = std::isfinite(expected);
        }
        if (v) {
            ++stored;
            ASSERT_TRUE(expectStored) << "stored a text that is no finite number, seed " << seed << " case " << n;
            ASSERT_EQ(scanCellText(text), CellError::None);
            ASSERT_TRUE(std::isfinite(*v));
            ASSERT_EQ(std::memcmp(&*v, &expected, sizeof expected), 0) << "case " << n;
            ASSERT_EQ(started, 0);
            ASSERT_EQ(list.refusals(), 0);
        } else {
            ++refused;
            ASSERT_FALSE(expectStored) << "refused a sound number, seed " << seed << " case " << n;
            ASSERT_EQ(started, 1);
            ASSERT_EQ(list.refusals(), 1);  // exactly one line per refused cell
        }
    }
    // The generator must reach both outcomes often, or the property says little.
    EXPECT_GT(stored, kTexts / 10);
    EXPECT_GT(refused, kTexts / 10);
}

// Whole ranges: a matrix comes back only when every cell of it is sound.
TEST(CellCheckProperty, RandomRangesComeBackOnlyWhenEveryCellIsSound) {
    std::mt19937_64 rng(7);
    SheetModel sheet;
    for (int n = 0; n < 20000; ++n) {
        const int rows = std::uniform_int_distribution<int>(1, 3)(rng);
        const int cols = std::uniform_int_distribution<int>(1, 3)(rng);
        bool allSound = true;
        for (int r = 1; r <= rows; ++r) {
            for (int c = 1; c <= cols; ++c) {
                const std::u16string raw = randomText(rng);
                const std::u16string t = trimmedBlanks(raw);
                allSound = allSound && isPlainDecimal(t) &&
                           std::isfinite(std::strtod(std::string(t.begin(), t.end()).c_str(), nullptr));
                sheet.setValue(r, c, QString::fromUtf16(raw.data(), static_cast<qsizetype>(raw.size())));
            }
        }
        DataErrorList list;
        std::int16_t started = 0;
        const std::optional<HostValue> m = ReadCheckedMatrix(sheet, {1, 1, rows, cols}, list, started);
        ASSERT_EQ(m.has_value(), allSound) << "case " << n;
        ASSERT_EQ(started == 0, allSound);
        if (m) {
            ASSERT_EQ(m->count(), rows * cols);
        }
        sheet.clearValues({1, 1, 3, 3});
    }
}

}  // namespace
