#include "engine/j_noun_info.h"

#include "engine/j_dense.h"

namespace {

// Per noun: J type (a sparse one as its dense type), rank, shape, then for a character
// list its number of characters (_1 when it is not valid text), for an extended-precision
// array 1 when every value fits in 64 bits. Nothing is copied but the noun's header.
constexpr char kDescribe[] =
    "{{ w =. \". y , '_base_' [ t =. 3!:0 \". y , '_base_' [ e =. 0 "
    "if. (1024 <: t) *. 65536 > t do. t =. <. t % 1024 end. "
    "if. t = 64 do. e =. *./ , (w >: -2x^63) *. w < 2x^63 "
    "elseif. (t e. 2 131072 262144) *. 1 >: #$w do. e =. # 9 u: :: (_1\"_) $.^:_1 w end. "
    "t , (#$w) , ($w) , e }}";

constexpr std::int64_t kBoxed = 32, kExtended = 64, kRational = 128, kSymbol = 65536;
// Beyond this many empty strings a character array has no host form (see denseToHost).
constexpr std::int64_t kMaxEmptyStrings = std::int64_t{1} << 24;

NounInfo fromJ(std::int64_t type, std::vector<std::int64_t> shape, std::int64_t extra) {
    NounInfo n;
    const std::optional<JElement> e = elementFromExternalType(type);
    if (e == JElement::Literal || e == JElement::Char2 || e == JElement::Char4) {
        if (shape.size() <= 1) {
            n.type = vt::String;
            n.chars = extra;
            n.needsValue = extra < 0;
            return n;
        }
        std::int64_t rows = 1;
        for (std::size_t i = 0; i + 1 < shape.size(); ++i)
            rows = shape[i] == 0 ? 0 : std::min(rows * shape[i], kMaxEmptyStrings + 1);
        if (shape.back() == 0 && rows > kMaxEmptyStrings) return n;  // J refuses to hand it over
        shape.pop_back();
        n.type = vt::String + vt::Array;
        n.dims = std::move(shape);
        return n;
    }
    int element = vt::Empty;
    if (e == JElement::Boolean)
        element = vt::Boolean;
    else if (e == JElement::Complex)
        element = vt::String;
    else if (e == JElement::Int1 || e == JElement::Int2 || e == JElement::Int4 || e == JElement::Int8)
        element = vt::Long;
    else if (e)
        element = vt::Double;
    else if (type == kBoxed)
        element = vt::Variant;
    else if (type == kExtended)
        element = extra == 1 ? vt::Long : vt::Double;
    else if (type == kRational)
        element = vt::Double;
    else if (type == kSymbol)
        element = vt::String;
    // An atom whose text decides its size (a complex number, a symbol) is read: it costs nothing.
    if (element == vt::Empty || (shape.empty() && element == vt::String)) {
        n.needsValue = true;
        return n;
    }
    n.type = shape.empty() ? element : element + vt::Array;
    n.dims = std::move(shape);
    return n;
}

}  // namespace

QByteArray nounInfoSentence(const QByteArray& target, const QByteArray& names) {
    return target + "=: ; (" + kDescribe + ")&.> " + names;
}

std::optional<std::vector<NounInfo>> parseNounInfo(const HostValue& described, std::size_t names) {
    std::vector<NounInfo> out;
    out.reserve(names);
    const HostValue::Longs* longs = described.longs();
    const HostValue::Booleans* bits = described.booleans();
    if (names == 0) return out;
    if (!described.isArray() || (!longs && !bits)) return std::nullopt;
    const std::size_t size = longs ? longs->size() : bits->size();
    auto at = [&](std::size_t i) -> std::int64_t { return longs ? (*longs)[i] : (*bits)[i]; };
    std::size_t i = 0;
    while (i < size && out.size() < names) {
        if (i + 3 > size) return std::nullopt;
        const std::int64_t type = at(i), rank = at(i + 1);
        if (rank < 0 || rank > static_cast<std::int64_t>(size - i - 3)) return std::nullopt;
        std::vector<std::int64_t> shape;
        for (std::int64_t k = 0; k < rank; ++k) shape.push_back(at(i + 2 + static_cast<std::size_t>(k)));
        out.push_back(fromJ(type, std::move(shape), at(i + 2 + static_cast<std::size_t>(rank))));
        i += 3 + static_cast<std::size_t>(rank);
    }
    if (i != size || out.size() != names) return std::nullopt;
    return out;
}

NounInfo nounInfoOf(const HostValue& v) {
    NounInfo n;
    n.type = v.type();
    n.dims = v.dims();
    if (!v.isArray() && v.elementType() == vt::String) n.chars = characterCount(v.strings()->front());
    return n;
}
