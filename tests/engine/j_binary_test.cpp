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

TEST(JBinaryFromJ, DecodesWhatJWritesAndRefusesEveryTruncationOrCorruption) {
    JEngine* j = sharedTestEngine();
    ASSERT_NE(j, nullptr);
    for (const char* noun : {"1;'ab';2 2$0.5", "<<<i.2 3", "0$<1", "(<'x'),<(<1r3),<!25x",
                             "2 2$<\"0 (1 2 3 4x)", "5", "i.0 3", "'日本'", "3j4 5", "_1r0 1r0"})
        EXPECT_EQ(decode(binaryOf(*j, noun)).status, Status::Ok) << noun;  // GetB shows the values

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

// Hand-made blocks: a box list of two integer atoms, each child right after the index,
// and 2^64 as two extended limbs decode; every damage to them is refused.
TEST(JBinary, RefusesMalformedBlocksAndLeavesWhatItCannotHoldAlone) {
    const Builder boxes =
        Builder().header(32, 2, {2}).word(56).word(96).header(4, 1, {}).word(0).header(4, 1, {}).word(1);
    const Builder extended = Builder().header(64, 1, {}).word(40).header(2, 16, {2}).word(0).word(1);
    const Builder atom = Builder().header(4, 1, {}).word(5);
    EXPECT_EQ(decode(atom.bytes).value, HostValue::longValue(5));
    EXPECT_EQ(decode(boxes.bytes).value,
              HostValue::variantArray({2}, {HostValue::longValue(0), HostValue::longValue(1)}));
    EXPECT_EQ(decode(extended.bytes).value, HostValue::doubleValue(std::ldexp(1.0, 64)));

    Builder deep;  // a box atom inside a box atom ... deeper than the decoder follows
    for (int i = 0; i <= kMaxJBinaryDepth + 1; ++i)
        deep.header(32, 1, {}).word(40);  // each child 40 bytes on
    deep.header(4, 1, {}).word(1);
    const std::int64_t first = 56, end = static_cast<std::int64_t>(boxes.bytes.size()),
                       big = std::int64_t{1} << 40;
    const std::tuple<const char*, Bytes, Status> cases[] = {
        {"big-endian flag", Builder{atom}.set(0, 0xe2).bytes, Status::Malformed},
        {"count", Builder().header(4, 3, {2}).word(0).word(1).word(2).bytes, Status::Malformed},
        {"overflowing shape", Builder().header(4, 0, {big, big}).bytes, Status::Malformed},
        {"negative extent", Builder().header(1, 0, {-1, 0}).bytes, Status::Malformed},
        {"huge rank", Builder().header(4, 1, {}).set(3, 1000).bytes, Status::Malformed},
        {"short data", Builder().header(8, 4, {4}).word(0).bytes, Status::Malformed},
        {"unknown type", Builder().header(3, 1, {}).word(0).bytes, Status::Malformed},
        {"two slots sharing one child", Builder{boxes}.set(5, first).set(6, first).bytes, Status::Malformed},
        {"out of order", Builder{boxes}.set(5, first + 40).set(6, first).bytes, Status::Malformed},
        {"pointing at the header", Builder{boxes}.set(5, 0).set(6, first + 40).bytes, Status::Malformed},
        {"pointing into the index", Builder{boxes}.set(5, 40).set(6, first + 40).bytes, Status::Malformed},
        {"misaligned", Builder{boxes}.set(5, first + 3).set(6, first + 40).bytes, Status::Malformed},
        {"past the end", Builder{boxes}.set(5, end).set(6, first).bytes, Status::Malformed},
        {"negative offset", Builder{boxes}.set(5, -8).set(6, first).bytes, Status::Malformed},
        {"four limbs claimed, two present", Builder{extended}.set(9, 4).bytes, Status::Malformed},
        {"limb count", Builder{extended}.set(7, 8).bytes, Status::Malformed},
        {"deep", deep.bytes, Status::TooDeep},
        {"huge expansion", Builder().header(2, 0, {big, 0}).word(0).bytes, Status::TooLarge},
        {"symbols", Builder().header(65536, 1, {1}).word(1).bytes, Status::NeedsConversion},
        {"sparse", Builder().header(4096, 1, {3}).word(0).bytes, Status::NeedsConversion},
    };
    for (const auto& [what, bytes, status] : cases) EXPECT_EQ(decode(bytes).status, status) << what;
}

}  // namespace
