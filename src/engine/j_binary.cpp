#include "engine/j_binary.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "engine/j_dense.h"

namespace {

using Status = JBinaryResult::Status;

constexpr std::int64_t kBoxed = 32;
constexpr std::int64_t kExtended = 64;
constexpr std::int64_t kRational = 128;
constexpr std::int64_t kSymbol = 65536;
constexpr std::int64_t kLimbs = 2;  // extended and rational parts are literal blocks of limbs
constexpr std::int64_t kMaxRank = 64;

std::int64_t word(const unsigned char* p) {
    std::int64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

bool isSparseType(std::int64_t t) {
    for (std::int64_t dense : {1, 2, 4, 8, 16, 32})
        if (t == 1024 * dense) return true;
    return false;
}

// One block: header checked, data located inside [p, p + size).
struct Block {
    std::int64_t type = 0;
    std::int64_t count = 0;
    int rank = 0;
    const unsigned char* shape = nullptr;
    const unsigned char* data = nullptr;
    std::size_t dataRoom = 0;  // bytes from data to the end of the enclosing buffer
};

bool readHeader(const unsigned char* p, std::size_t size, Block& b) {
    if (size < 32) return false;
    if (p[0] != 0xe3) return false;
    for (int i = 1; i < 8; ++i)
        if (p[i] != 0) return false;
    b.type = word(p + 8);
    b.count = word(p + 16);
    const std::int64_t rank = word(p + 24);
    if (rank < 0 || rank > kMaxRank || b.count < 0) return false;
    b.rank = static_cast<int>(rank);
    const std::size_t headerBytes = 32 + 8 * static_cast<std::size_t>(rank);
    if (size < headerBytes) return false;
    b.shape = p + 32;
    b.data = p + headerBytes;
    b.dataRoom = size - headerBytes;
    return true;
}

// The shape must multiply out to the atom count without overflow.
bool shapeMatchesCount(const Block& b, std::vector<std::int64_t>& dims) {
    dims.resize(static_cast<size_t>(b.rank));
    std::int64_t n = 1;
    bool zero = false;
    for (int i = 0; i < b.rank; ++i) {
        const std::int64_t d = word(b.shape + 8 * i);
        if (d < 0) return false;
        dims[static_cast<size_t>(i)] = d;
        if (d == 0)
            zero = true;
        else if (!zero && n > std::numeric_limits<std::int64_t>::max() / d)
            return false;
        else if (!zero)
            n *= d;
    }
    return (zero ? 0 : n) == b.count;
}

bool fits(const Block& b, std::int64_t bytesPerAtom) {
    return b.count <= static_cast<std::int64_t>(b.dataRoom) / bytesPerAtom;
}

// A nonnegative big integer m * 2^e with m from its top 128 bits, and its sign.
struct Big {
    bool negative = false;
    const unsigned char* limbs = nullptr;
    std::int64_t n = 0;

    double scaled(int& exponent) const {
        exponent = 0;
        if (n == 0) return 0;
        auto limb = [&](std::int64_t i) {
            std::uint64_t v;
            std::memcpy(&v, limbs + 8 * i, sizeof v);
            return v;
        };
        if (n == 1) return static_cast<double>(limb(0));
        exponent = static_cast<int>(64 * (n - 2));
        return std::ldexp(static_cast<double>(limb(n - 1)), 64) + static_cast<double>(limb(n - 2));
    }
    double toDouble() const {
        int e;
        const double m = scaled(e);
        const double v = std::ldexp(m, e);
        return negative ? -v : v;
    }
    bool toLong(std::int64_t& out) const {
        if (n == 0) {
            out = 0;
            return true;
        }
        if (n != 1) return false;
        std::uint64_t v;
        std::memcpy(&v, limbs, sizeof v);
        const std::uint64_t limit = std::uint64_t{1} << 63;
        if (!negative && v < limit)
            out = static_cast<std::int64_t>(v);
        else if (negative && v <= limit)
            out = static_cast<std::int64_t>(0 - v);
        else
            return false;
        return true;
    }
};

class Decoder {
public:
    Status status = Status::Ok;

    // The child block whose offset is stored in index slot i of a block starting at base. It
    // must start at or after `from` (the end of what came before it), so no two children
    // share bytes and nothing decodes to more than the buffer holds.
    bool child(const unsigned char* base, std::size_t size, const Block& b, std::int64_t i,
               const unsigned char* from, const unsigned char*& at, std::size_t& room) {
        const std::int64_t offset = word(b.data + 8 * i);
        if (offset < 0 || static_cast<std::uint64_t>(offset) >= size || offset % 8 != 0 ||
            base + offset < from)
            return fail(Status::Malformed);
        at = base + offset;
        room = size - static_cast<std::size_t>(offset);
        return true;
    }

    bool limbs(const unsigned char* p, std::size_t size, Big& big, const unsigned char*& end) {
        Block b;
        if (!readHeader(p, size, b) || b.type != kLimbs || b.rank != 1) return fail(Status::Malformed);
        const std::int64_t signedLimbs = word(b.shape);
        if (signedLimbs == std::numeric_limits<std::int64_t>::min()) return fail(Status::Malformed);
        const std::int64_t n = signedLimbs < 0 ? -signedLimbs : signedLimbs;
        if (n > static_cast<std::int64_t>(b.dataRoom) / 8 || b.count != 8 * n) return fail(Status::Malformed);
        big = Big{signedLimbs < 0, b.data, n};
        end = b.data + 8 * n;
        return true;
    }

    bool fail(Status s) {
        if (status == Status::Ok) status = s;
        return false;
    }

    // end receives the first byte after the block's data (children included).
    bool decode(const unsigned char* p, std::size_t size, int depth, HostValue& out,
                const unsigned char*& end) {
        if (depth > kMaxJBinaryDepth) return fail(Status::TooDeep);
        Block b;
        if (!readHeader(p, size, b)) return fail(Status::Malformed);
        if (b.type == kSymbol || isSparseType(b.type)) return fail(Status::NeedsConversion);
        std::vector<std::int64_t> dims;
        if (!shapeMatchesCount(b, dims)) return fail(Status::Malformed);

        if (auto e = elementFromExternalType(b.type)) {
            if (!fits(b, elementBytes(*e))) return fail(Status::Malformed);
            end = b.data + b.count * elementBytes(*e);
            auto v = denseToHost(*e, dims.data(), b.rank, b.data);
            if (!v) return fail(Status::TooLarge);
            out = std::move(*v);
            return true;
        }
        switch (b.type) {
            case kBoxed:
                return boxed(p, size, b, std::move(dims), depth, out, end);
            case kExtended:
                return extended(p, size, b, std::move(dims), out, end);
            case kRational:
                return rational(p, size, b, std::move(dims), out, end);
            default:
                return fail(Status::Malformed);
        }
    }

private:
    bool boxed(const unsigned char* p, std::size_t size, const Block& b, std::vector<std::int64_t> dims,
               int depth, HostValue& out, const unsigned char*& end) {
        if (!fits(b, 8)) return fail(Status::Malformed);
        end = b.data + 8 * b.count;
        HostValue::Variants items;
        items.reserve(static_cast<size_t>(b.count));
        for (std::int64_t i = 0; i < b.count; ++i) {
            const unsigned char* at;
            std::size_t room;
            HostValue item;
            if (!child(p, size, b, i, end, at, room) || !decode(at, room, depth + 1, item, end)) return false;
            items.push_back(std::move(item));
        }
        if (b.rank == 0)
            out = HostValue::variant(std::move(items.front()));
        else
            out = HostValue::variantArray(std::move(dims), std::move(items));
        return true;
    }

    // Long while every value fits in 64 bits, else Double for the whole array.
    bool extended(const unsigned char* p, std::size_t size, const Block& b, std::vector<std::int64_t> dims,
                  HostValue& out, const unsigned char*& end) {
        if (!fits(b, 8)) return fail(Status::Malformed);
        end = b.data + 8 * b.count;
        std::vector<Big> values(static_cast<size_t>(b.count));
        bool allLong = true;
        HostValue::Longs longs;
        longs.reserve(values.size());
        for (std::int64_t i = 0; i < b.count; ++i) {
            const unsigned char* at;
            std::size_t room;
            if (!child(p, size, b, i, end, at, room) || !limbs(at, room, values[static_cast<size_t>(i)], end))
                return false;
            std::int64_t v = 0;
            if (allLong && values[static_cast<size_t>(i)].toLong(v))
                longs.push_back(v);
            else
                allLong = false;
        }
        if (allLong) {
            out = b.rank == 0 ? HostValue::longValue(longs.front())
                              : HostValue::longArray(std::move(dims), std::move(longs));
            return true;
        }
        HostValue::Doubles doubles;
        doubles.reserve(values.size());
        for (const Big& v : values) doubles.push_back(v.toDouble());
        out = b.rank == 0 ? HostValue::doubleValue(doubles.front())
                          : HostValue::doubleArray(std::move(dims), std::move(doubles));
        return true;
    }

    // Numerator and denominator scaled separately so that huge parts do not overflow.
    bool rational(const unsigned char* p, std::size_t size, const Block& b, std::vector<std::int64_t> dims,
                  HostValue& out, const unsigned char*& end) {
        if (b.count > static_cast<std::int64_t>(b.dataRoom) / 16) return fail(Status::Malformed);
        end = b.data + 16 * b.count;
        Block pairs = b;
        pairs.count = 2 * b.count;
        HostValue::Doubles doubles;
        doubles.reserve(static_cast<size_t>(b.count));
        for (std::int64_t i = 0; i < b.count; ++i) {
            const unsigned char* at;
            std::size_t room;
            Big num, den;
            if (!child(p, size, pairs, 2 * i, end, at, room) || !limbs(at, room, num, end)) return false;
            if (!child(p, size, pairs, 2 * i + 1, end, at, room) || !limbs(at, room, den, end)) return false;
            int en, ed;
            const double mn = num.scaled(en), md = den.scaled(ed);
            double v = md == 0 ? (mn == 0 ? std::nan("") : INFINITY) : std::ldexp(mn / md, en - ed);
            if (num.negative != den.negative) v = -v;
            doubles.push_back(v);
        }
        out = b.rank == 0 ? HostValue::doubleValue(doubles.front())
                          : HostValue::doubleArray(std::move(dims), std::move(doubles));
        return true;
    }
};

}  // namespace

JBinaryResult decodeJBinary(const unsigned char* data, std::size_t size) {
    JBinaryResult result;
    if (!data) return result;
    Decoder d;
    HostValue v;
    const unsigned char* end = data;
    try {
        if (d.decode(data, size, 0, v, end)) {
            result.status = Status::Ok;
            result.value = std::move(v);
        } else {
            result.status = d.status == Status::Ok ? Status::Malformed : d.status;
        }
    } catch (const std::bad_alloc&) {
        result.status = Status::TooLarge;
    }
    return result;
}
