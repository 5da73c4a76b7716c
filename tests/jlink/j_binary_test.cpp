#include "jlink/j_binary.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "jlink/jdll_engine.h"
#include "support/j_test_engine.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Status = JBinaryResult::Status;

// The 3!:1 bytes of a J noun, read raw so nothing of ours touches them.
Bytes binaryOf(JEngine& j, const char* expression) {
    const int rc =
        j.Do(QStringLiteral("J_Bin=: 3!:1 (") + QString::fromUtf8(expression) + QStringLiteral(")"));
    EXPECT_EQ(rc, 0) << expression;
    const JRawApi& api = j.rawApi();
    JRawApi::I type = 0, rank = 0, shape = 0, data = 0;
    char name[] = "J_Bin_base_";
    if (rc != 0 || api.JGetM(j.rawInstance(), name, &type, &rank, &shape, &data) != 0 || type != 2 ||
        rank != 1) {
        ADD_FAILURE() << "no binary form of " << expression;
        return {};
    }
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    return Bytes(p, p + *reinterpret_cast<const JRawApi::I*>(shape));
}

JBinaryResult decode(const Bytes& b) { return decodeJBinary(b.data(), b.size()); }

// Hand-made blocks for what J never produces.
struct Builder {
    Bytes bytes;
    void word(std::int64_t w) {
        unsigned char b[8];
        std::memcpy(b, &w, 8);
        bytes.insert(bytes.end(), b, b + 8);
    }
    void header(std::int64_t type, std::int64_t count, std::vector<std::int64_t> shape) {
        word(0xe3);
        word(type);
        word(count);
        word(static_cast<std::int64_t>(shape.size()));
        for (auto d : shape) word(d);
    }
    void set(size_t wordIndex, std::int64_t w) { std::memcpy(bytes.data() + 8 * wordIndex, &w, 8); }
};

Bytes integerAtom(std::int64_t v) {
    Builder b;
    b.header(4, 1, {});
    b.word(v);
    return b.bytes;
}

// A box list of n integer atoms, each child right after the index.
Builder boxList(int n) {
    Builder b;
    b.header(32, n, {n});
    const size_t index = b.bytes.size() / 8;
    for (int i = 0; i < n; ++i) b.word(0);
    for (int i = 0; i < n; ++i) {
        b.set(index + i, static_cast<std::int64_t>(b.bytes.size()));
        const Bytes child = integerAtom(i);
        b.bytes.insert(b.bytes.end(), child.begin(), child.end());
    }
    return b;
}

class JBinaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        j = sharedTestEngine();
        ASSERT_NE(j, nullptr);
    }
    JEngine* j = nullptr;
};

TEST_F(JBinaryTest, DecodesWhatJWritesAsGetBReadsIt) {
    for (const char* noun : {"1;'ab';2 2$0.5", "<<<i.2 3", "0$<1", "(<'x'),<(<1r3),<!25x",
                             "2 2$<\"0 (1 2 3 4x)", "5", "i.0 3", "'日本'", "3j4 5", "_1r0 1r0"}) {
        const JBinaryResult r = decode(binaryOf(*j, noun));
        ASSERT_EQ(r.status, Status::Ok) << noun;
        HostValue direct;
        ASSERT_EQ(j->Do(QStringLiteral("J_Get=. ") + QString::fromUtf8(noun)), 0);
        ASSERT_EQ(j->GetB("J_Get", direct), 0);
        EXPECT_EQ(r.value, direct) << noun;
    }
}

TEST_F(JBinaryTest, EveryTruncationIsRefused) {
    const Bytes whole = binaryOf(*j, "1;'ab';(<2 2$0.5),<!30x");
    ASSERT_EQ(decode(whole).status, Status::Ok);
    for (size_t n = 0; n < whole.size(); ++n) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        const JBinaryResult r = decodeJBinary(cut.data(), cut.size());
        EXPECT_NE(r.status, Status::Ok) << n;
    }
}

TEST_F(JBinaryTest, CorruptedBytesNeverCrash) {
    const Bytes whole = binaryOf(*j, "1;'ab';(<2 2$0.5),(<1r3),<!30x");
    std::mt19937 random(12345);
    for (int round = 0; round < 20000; ++round) {
        Bytes b = whole;
        for (int k = 0; k < 3; ++k) b[random() % b.size()] = static_cast<unsigned char>(random());
        (void)decode(b);
    }
}

TEST(JBinary, RefusesMalformedHeaders) {
    Bytes ok = integerAtom(5);
    EXPECT_EQ(decode(ok).status, Status::Ok);
    EXPECT_EQ(decode(ok).value, HostValue::longValue(5));

    Bytes badFlag = ok;
    badFlag[0] = 0xe2;  // big-endian 64-bit form
    EXPECT_EQ(decode(badFlag).status, Status::Malformed);

    Builder countMismatch;
    countMismatch.header(4, 3, {2});
    for (int i = 0; i < 3; ++i) countMismatch.word(i);
    EXPECT_EQ(decode(countMismatch.bytes).status, Status::Malformed);

    Builder overflow;
    overflow.header(4, 0, {std::int64_t{1} << 40, std::int64_t{1} << 40});
    EXPECT_EQ(decode(overflow.bytes).status, Status::Malformed);

    Builder negative;
    negative.header(1, 0, {-1, 0});
    EXPECT_EQ(decode(negative.bytes).status, Status::Malformed);

    Builder hugeRank;
    hugeRank.header(4, 1, {});
    hugeRank.set(3, 1000);
    EXPECT_EQ(decode(hugeRank.bytes).status, Status::Malformed);

    Builder shortData;
    shortData.header(8, 4, {4});
    shortData.word(0);
    EXPECT_EQ(decode(shortData.bytes).status, Status::Malformed);

    Builder unknownType;
    unknownType.header(3, 1, {});
    unknownType.word(0);
    EXPECT_EQ(decode(unknownType.bytes).status, Status::Malformed);
}

TEST(JBinary, RefusesChildOffsetsThatOverlapOrEscape) {
    Builder good = boxList(2);
    ASSERT_EQ(decode(good.bytes).status, Status::Ok);
    EXPECT_EQ(decode(good.bytes).value,
              HostValue::variantArray({2}, {HostValue::longValue(0), HostValue::longValue(1)}));

    const size_t index = 5;  // header words of a rank-1 block
    const std::int64_t first = 56;
    const std::pair<std::int64_t, std::int64_t> bad[] = {
        {first, first},                                         // two slots sharing one child
        {first + 40, first},                                    // out of order
        {0, first + 40},                                        // pointing at the header
        {40, first + 40},                                       // pointing into the index
        {first + 3, first + 40},                                // misaligned
        {static_cast<std::int64_t>(good.bytes.size()), first},  // past the end
        {-8, first},                                            // negative
    };
    for (const auto& [a, b] : bad) {
        Builder c = good;
        c.set(index, a);
        c.set(index + 1, b);
        EXPECT_EQ(decode(c.bytes).status, Status::Malformed) << a << " " << b;
    }
}

TEST(JBinary, LimitsNestingAndExpansion) {
    // A box atom inside a box atom ... deeper than the decoder follows.
    Builder deep;
    for (int i = 0; i <= kMaxJBinaryDepth + 1; ++i) {
        deep.header(32, 1, {});
        deep.word(static_cast<std::int64_t>(40));
    }
    const Bytes leaf = integerAtom(1);
    // Offsets are relative to each block's own start: every child sits 40 bytes further on.
    deep.bytes.insert(deep.bytes.end(), leaf.begin(), leaf.end());
    EXPECT_EQ(decode(deep.bytes).status, Status::TooDeep);

    Builder emptyRows;
    emptyRows.header(2, 0, {std::int64_t{1} << 40, 0});
    emptyRows.word(0);
    EXPECT_EQ(decode(emptyRows.bytes).status, Status::TooLarge);
}

TEST(JBinary, SymbolsAndSparseNeedJ) {
    Builder symbols;
    symbols.header(65536, 1, {1});
    symbols.word(1);
    EXPECT_EQ(decode(symbols.bytes).status, Status::NeedsConversion);
    Builder sparse;
    sparse.header(4096, 1, {3});
    sparse.word(0);
    EXPECT_EQ(decode(sparse.bytes).status, Status::NeedsConversion);
}

TEST(JBinary, ExtendedLimbsAreChecked) {
    // 2^64 as two limbs, then the same with a limb count that overruns the block.
    Builder x;
    x.header(64, 1, {});
    x.word(40);
    x.header(2, 16, {2});
    x.word(0);
    x.word(1);
    const JBinaryResult r = decode(x.bytes);
    ASSERT_EQ(r.status, Status::Ok);
    EXPECT_EQ(r.value, HostValue::doubleValue(std::ldexp(1.0, 64)));

    Builder overrun = x;
    overrun.set(9, 4);  // four limbs claimed, two present
    EXPECT_EQ(decode(overrun.bytes).status, Status::Malformed);
    Builder wrongCount = x;
    wrongCount.set(7, 8);
    EXPECT_EQ(decode(wrongCount.bytes).status, Status::Malformed);
}

}  // namespace
