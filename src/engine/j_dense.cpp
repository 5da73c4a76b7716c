#include "engine/j_dense.h"

#include <cmath>
#include <cstring>

namespace {

// Beyond this many strings of zero length we refuse instead of exhausting memory:
// J can hold a character array of a billion empty rows in no space at all.
constexpr std::int64_t kMaxEmptyStrings = std::int64_t{1} << 24;

template <typename T>
T load(const unsigned char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

double halfToDouble(std::uint16_t h) {
    const int sign = h >> 15;
    const int exponent = (h >> 10) & 0x1f;
    const int mantissa = h & 0x3ff;
    double v;
    if (exponent == 0)
        v = std::ldexp(mantissa, -24);
    else if (exponent == 31)
        v = mantissa ? std::nan("") : INFINITY;
    else
        v = std::ldexp(mantissa + 1024, exponent - 25);
    return sign ? -v : v;
}

QString utf16Text(const unsigned char* p, std::int64_t n) {
    QString s;
    s.reserve(n);
    for (std::int64_t i = 0; i < n; ++i) {
        const char16_t u = load<char16_t>(p + 2 * i);
        if (QChar::isHighSurrogate(u) && i + 1 < n &&
            QChar::isLowSurrogate(load<char16_t>(p + 2 * (i + 1)))) {
            s.append(QChar(u));
            s.append(QChar(load<char16_t>(p + 2 * ++i)));
        } else if (QChar::isSurrogate(u)) {
            s.append(QChar::ReplacementCharacter);
        } else {
            s.append(QChar(u));
        }
    }
    return s;
}

QString utf32Text(const unsigned char* p, std::int64_t n) {
    QString s;
    s.reserve(n);
    for (std::int64_t i = 0; i < n; ++i) {
        const char32_t c = load<char32_t>(p + 4 * i);
        if (c > 0x10ffff || (c >= 0xd800 && c <= 0xdfff))
            s.append(QChar::ReplacementCharacter);
        else if (QChar::requiresSurrogates(c)) {
            s.append(QChar(QChar::highSurrogate(c)));
            s.append(QChar(QChar::lowSurrogate(c)));
        } else {
            s.append(QChar(static_cast<char16_t>(c)));
        }
    }
    return s;
}

QString textOf(JElement e, const unsigned char* p, std::int64_t n) {
    switch (e) {
        case JElement::Char2:
            return utf16Text(p, n);
        case JElement::Char4:
            return utf32Text(p, n);
        default:
            return QString::fromUtf8(reinterpret_cast<const char*>(p), static_cast<qsizetype>(n));
    }
}

HostValue characters(JElement e, const std::int64_t* shape, int rank, const unsigned char* p,
                     std::int64_t count) {
    if (rank <= 1) return HostValue::string(textOf(e, p, count));
    // One string per row of the last axis.
    std::vector<std::int64_t> dims(shape, shape + rank - 1);
    const std::int64_t rowLength = shape[rank - 1];
    std::int64_t rows = 1;
    for (auto d : dims) rows = d == 0 ? 0 : rows * d;
    HostValue::Strings strings;
    strings.reserve(static_cast<size_t>(rows));
    const int width = elementBytes(e);
    for (std::int64_t r = 0; r < rows; ++r)
        strings.push_back(textOf(e, p + r * rowLength * width, rowLength));
    return HostValue::stringArray(std::move(dims), std::move(strings));
}

template <typename Out, typename In, typename F>
std::vector<Out> widen(const unsigned char* p, std::int64_t n, F f) {
    std::vector<Out> out;
    out.reserve(static_cast<size_t>(n));
    for (std::int64_t i = 0; i < n; ++i)
        out.push_back(f(load<In>(p + i * static_cast<std::int64_t>(sizeof(In)))));
    return out;
}

// Straight copy of 8-byte atoms; the typed range constructor avoids zero-filling first.
template <typename T>
std::vector<T> copyWords(const unsigned char* p, std::int64_t n) {
    if (reinterpret_cast<std::uintptr_t>(p) % alignof(T) == 0) {
        const T* t = reinterpret_cast<const T*>(p);
        return std::vector<T>(t, t + n);
    }
    std::vector<T> out(static_cast<size_t>(n));
    if (n) std::memcpy(out.data(), p, static_cast<size_t>(n) * sizeof(T));
    return out;
}

}  // namespace

std::optional<JElement> elementFromInternalType(std::int64_t type) {
    switch (type) {
        case 1:
            return JElement::Boolean;
        case 2:
            return JElement::Literal;
        case 4:
            return JElement::Int8;
        case 8:
            return JElement::Float8;
        case 16:
            return JElement::Complex;
        case 256:
            return JElement::Int1;
        case 512:
            return JElement::Int2;
        case 1024:
            return JElement::Int4;
        case 2048:
            return JElement::Half;
        case 4096:
            return JElement::Float4;
        case 8192:
            return JElement::Quad;
        case 131072:
            return JElement::Char2;
        case 262144:
            return JElement::Char4;
        default:
            return std::nullopt;
    }
}

std::optional<JElement> elementFromExternalType(std::int64_t type) {
    switch (type) {
        case 1:
            return JElement::Boolean;
        case 2:
            return JElement::Literal;
        case 4:
            return JElement::Int8;
        case 5:
            return JElement::Int1;
        case 6:
            return JElement::Int2;
        case 7:
            return JElement::Int4;
        case 8:
            return JElement::Float8;
        case 9:
            return JElement::Half;
        case 10:
            return JElement::Float4;
        case 11:
            return JElement::Quad;
        case 16:
            return JElement::Complex;
        case 131072:
            return JElement::Char2;
        case 262144:
            return JElement::Char4;
        default:
            return std::nullopt;
    }
}

int elementBytes(JElement e) {
    switch (e) {
        case JElement::Boolean:
        case JElement::Literal:
        case JElement::Int1:
            return 1;
        case JElement::Char2:
        case JElement::Int2:
        case JElement::Half:
            return 2;
        case JElement::Char4:
        case JElement::Int4:
        case JElement::Float4:
            return 4;
        case JElement::Int8:
        case JElement::Float8:
            return 8;
        case JElement::Quad:
        case JElement::Complex:
            return 16;
    }
    return 1;
}

std::optional<HostValue> denseToHost(JElement e, const std::int64_t* shape, int rank, const void* data) {
    const auto* p = static_cast<const unsigned char*>(data);
    std::int64_t count = 1;
    for (int i = 0; i < rank; ++i) count *= shape[i];

    if (e == JElement::Literal || e == JElement::Char2 || e == JElement::Char4) {
        if (rank >= 2 && shape[rank - 1] == 0) {
            std::int64_t rows = 1;
            for (int i = 0; i < rank - 1; ++i) {
                if (shape[i] == 0)
                    rows = 0;
                else if (rows > kMaxEmptyStrings / shape[i])
                    return std::nullopt;
                else
                    rows *= shape[i];
            }
            if (rows > kMaxEmptyStrings) return std::nullopt;
        }
        return characters(e, shape, rank, p, count);
    }

    if (rank == 0) {
        switch (e) {
            case JElement::Boolean:
                return HostValue::boolean(p[0] != 0);
            case JElement::Int1:
                return HostValue::longValue(load<std::int8_t>(p));
            case JElement::Int2:
                return HostValue::longValue(load<std::int16_t>(p));
            case JElement::Int4:
                return HostValue::longValue(load<std::int32_t>(p));
            case JElement::Int8:
                return HostValue::longValue(load<std::int64_t>(p));
            case JElement::Half:
                return HostValue::doubleValue(halfToDouble(load<std::uint16_t>(p)));
            case JElement::Float4:
                return HostValue::doubleValue(load<float>(p));
            case JElement::Float8:
                return HostValue::doubleValue(load<double>(p));
            case JElement::Quad:
                return HostValue::doubleValue(load<double>(p) + load<double>(p + 8));
            case JElement::Complex:
                return HostValue::string(jComplexText(load<double>(p), load<double>(p + 8)));
            default:
                return std::nullopt;
        }
    }

    std::vector<std::int64_t> dims(shape, shape + rank);
    switch (e) {
        case JElement::Boolean:
            return HostValue::booleanArray(std::move(dims),
                                           widen<std::uint8_t, std::uint8_t>(p, count, [](std::uint8_t b) {
                                               return static_cast<std::uint8_t>(b != 0);
                                           }));
        case JElement::Int1:
            return HostValue::longArray(std::move(dims),
                                        widen<std::int64_t, std::int8_t>(p, count, [](auto v) { return v; }));
        case JElement::Int2:
            return HostValue::longArray(
                std::move(dims), widen<std::int64_t, std::int16_t>(p, count, [](auto v) { return v; }));
        case JElement::Int4:
            return HostValue::longArray(
                std::move(dims), widen<std::int64_t, std::int32_t>(p, count, [](auto v) { return v; }));
        case JElement::Int8:
            return HostValue::longArray(std::move(dims), copyWords<std::int64_t>(p, count));
        case JElement::Half:
            return HostValue::doubleArray(std::move(dims),
                                          widen<double, std::uint16_t>(p, count, halfToDouble));
        case JElement::Float4:
            return HostValue::doubleArray(std::move(dims),
                                          widen<double, float>(p, count, [](float v) { return double{v}; }));
        case JElement::Float8:
            return HostValue::doubleArray(std::move(dims), copyWords<double>(p, count));
        case JElement::Quad: {
            HostValue::Doubles out;
            out.reserve(static_cast<size_t>(count));
            for (std::int64_t i = 0; i < count; ++i)
                out.push_back(load<double>(p + 16 * i) + load<double>(p + 16 * i + 8));
            return HostValue::doubleArray(std::move(dims), std::move(out));
        }
        case JElement::Complex: {
            HostValue::Strings out;
            out.reserve(static_cast<size_t>(count));
            for (std::int64_t i = 0; i < count; ++i)
                out.push_back(jComplexText(load<double>(p + 16 * i), load<double>(p + 16 * i + 8)));
            return HostValue::stringArray(std::move(dims), std::move(out));
        }
        default:
            return std::nullopt;
    }
}

QString jNumberText(double v) {
    QString s = generalNumberText(v);
    const qsizetype e = s.indexOf(QLatin1Char('E'));
    if (e >= 0) {
        // 1E+20 -> 1e20, 1E-05 -> 1e_5
        const bool negative = s[e + 1] == QLatin1Char('-');
        QString digits = s.mid(e + 2);
        while (digits.size() > 1 && digits.front() == QLatin1Char('0')) digits.remove(0, 1);
        s = s.left(e) + QLatin1Char('e') + (negative ? QStringLiteral("_") : QString()) + digits;
    }
    if (s.startsWith(QLatin1Char('-'))) s[0] = QLatin1Char('_');
    return s;
}

QString jComplexText(double re, double im) {
    if (im == 0) return jNumberText(re);
    return jNumberText(re) + QLatin1Char('j') + jNumberText(im);
}
