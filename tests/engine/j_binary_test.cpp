#include "engine/j_binary.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "engine/jdll_engine.h"
#include "support/j_test_engine.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Status = JBinaryResult::Status;

// The 3!:1 bytes of a J noun, read raw so nothing of ours touches them.
Bytes binaryOf(JEngine& j, const char* expression) {
    const int rc =
        j.Do(QStringLiteral("J_Bin=: 3!:1 (") + QString::fromUtf8(expression) + QStringLiteral(")"));
    EXPECT_EQ(rc, 0) << expression;
    JRawApi::I type = 0, rank = 0, shape = 0, data = 0;
    char name[] = "J_Bin_base_";
    if (rc != 0 || j.rawApi().JGetM(j.rawInstance(), name, &type, &rank, &shape, &data) != 0 || type != 2 ||
        rank != 1) {
        ADD_FAILURE() << "no binary form of " << expression;
        return {};
    }
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    return Bytes(p, p + *reinterpret_cast<const JRawApi::I*>(shape));
}

JBinaryResult decode(const Bytes& b) { return decodeJBinary(b.data(), b.size()); }

// Hand-made blocks for what J never produces: 64-bit words, each block a header of
// flag, type, count, rank and shape, then its data.
struct Builder {
    Bytes bytes;
    Builder& word(std::int64_t w) {
        const auto* b = reinterpret_cast<const unsigned char*>(&w);
        bytes.insert(bytes.end(), b, b + 8);
        return *this;
    }
    Builder& header(std::int64_t type, std::int64_t count, std::vector<std::int64_t> shape) {
        word(0xe3).word(type).word(count).word(static_cast<std::int64_t>(shape.size()));
        for (auto d : shape) word(d);
        return *this;
    }
    Builder& set(size_t wordIndex, std::int64_t w) {
        std::memcpy(bytes.data() + 8 * wordIndex, &w, 8);
        return *this;
    }
};

Bytes integerAtom(std::int64_t v) { return Builder().header(4, 1, {}).word(v).bytes; }

TEST(JBinaryFromJ, DecodesWhatJWritesAsGetBReadsItAndRefusesEveryTruncationOrCorruption) {
    JEngine* j = sharedTestEngine();
    ASSERT_NE(j, nullptr);
    for (const char* noun : {"1;'ab';2 2$0.5", "<<<i.2 3", "0$<1", "(<'x'),<(<1r3),<!25x",
                             "2 2$<\"0 (1 2 3 4x)", "5", "i.0 3", "'日本'", "3j4 5", "_1r0 1r0"}) {
        const JBinaryResult r = decode(binaryOf(*j, noun));
        ASSERT_EQ(r.status, Status::Ok) << noun;
        HostValue direct;
        ASSERT_EQ(j->Do(QStringLiteral("J_Get=. ") + QString::fromUtf8(noun)), 0);
        ASSERT_EQ(j->GetB("J_Get", direct), 0);
        EXPECT_EQ(r.value, direct) << noun;
    }

    const Bytes whole = binaryOf(*j, "1;'ab';(<2 2$0.5),(<1r3),<!30x");
    ASSERT_EQ(decode(whole).status, Status::Ok);
    for (size_t n = 0; n < whole.size(); ++n)
        EXPECT_NE(decodeJBinary(whole.data(), n).status, Status::Ok) << n;
    std::mt19937 random(12345);
    for (int round = 0; round < 20000; ++round) {  // nothing may crash
        Bytes b = whole;
        for (int k = 0; k < 3; ++k) b[random() % b.size()] = static_cast<unsigned char>(random());
        (void)decode(b);
    }
}

TEST(JBinary, RefusesMalformedBlocks) {
    Bytes badFlag = integerAtom(5);
    EXPECT_EQ(decode(badFlag).value, HostValue::longValue(5));
    badFlag[0] = 0xe2;  // big-endian 64-bit form
    const std::pair<const char*, Bytes> malformed[] = {
        {"flag", badFlag},
        {"count", Builder().header(4, 3, {2}).word(0).word(1).word(2).bytes},
        {"overflowing shape", Builder().header(4, 0, {std::int64_t{1} << 40, std::int64_t{1} << 40}).bytes},
        {"negative extent", Builder().header(1, 0, {-1, 0}).bytes},
        {"huge rank", Builder().header(4, 1, {}).set(3, 1000).bytes},
        {"short data", Builder().header(8, 4, {4}).word(0).bytes},
        {"unknown type", Builder().header(3, 1, {}).word(0).bytes},
    };
    for (const auto& [what, bytes] : malformed) EXPECT_EQ(decode(bytes).status, Status::Malformed) << what;
}

TEST(JBinary, RefusesChildOffsetsThatOverlapOrEscape) {
    // A box list of two integer atoms, each child right after the index.
    const Builder good =
        Builder().header(32, 2, {2}).word(56).word(96).header(4, 1, {}).word(0).header(4, 1, {}).word(1);
    ASSERT_EQ(decode(good.bytes).value,
              HostValue::variantArray({2}, {HostValue::longValue(0), HostValue::longValue(1)}));

    const std::int64_t first = 56, end = static_cast<std::int64_t>(good.bytes.size());
    const std::pair<std::int64_t, std::int64_t> bad[] = {
        {first, first},           // two slots sharing one child
        {first + 40, first},      // out of order
        {0, first + 40},          // pointing at the header
        {40, first + 40},         // pointing into the index
        {first + 3, first + 40},  // misaligned
        {end, first},             // past the end
        {-8, first},              // negative
    };
    for (const auto& [a, b] : bad) {
        Builder c = good;
        EXPECT_EQ(decode(c.set(5, a).set(6, b).bytes).status, Status::Malformed) << a << " " << b;
    }
}

TEST(JBinary, LeavesDeepNestingHugeExpansionSymbolsAndSparseAlone) {
    Builder deep;  // a box atom inside a box atom ... deeper than the decoder follows
    for (int i = 0; i <= kMaxJBinaryDepth + 1; ++i)
        deep.header(32, 1, {}).word(40);  // each child 40 bytes on
    deep.header(4, 1, {}).word(1);
    const std::pair<Bytes, Status> cases[] = {
        {deep.bytes, Status::TooDeep},
        {Builder().header(2, 0, {std::int64_t{1} << 40, 0}).word(0).bytes, Status::TooLarge},
        {Builder().header(65536, 1, {1}).word(1).bytes, Status::NeedsConversion},  // symbols
        {Builder().header(4096, 1, {3}).word(0).bytes, Status::NeedsConversion},   // sparse
    };
    for (const auto& [bytes, status] : cases) EXPECT_EQ(decode(bytes).status, status);
}

TEST(JBinary, ExtendedLimbsAreChecked) {
    // 2^64 as two limbs, then the same with a limb count that overruns the block.
    Builder x = Builder().header(64, 1, {}).word(40).header(2, 16, {2}).word(0).word(1);
    const JBinaryResult r = decode(x.bytes);
    ASSERT_EQ(r.status, Status::Ok);
    EXPECT_EQ(r.value, HostValue::doubleValue(std::ldexp(1.0, 64)));
    Builder overrun = x, wrongCount = x;
    EXPECT_EQ(decode(overrun.set(9, 4).bytes).status, Status::Malformed);  // four limbs claimed, two present
    EXPECT_EQ(decode(wrongCount.set(7, 8).bytes).status, Status::Malformed);
}

}  // namespace
