#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "engine/host_value.h"

// Element layouts of J's dense arrays, as JGetM hands them out and as the 3!:1 form
// stores them.
enum class JElement {
    Boolean,  // 1 byte, 0 or 1
    Literal,  // 1 byte, UTF-8
    Char2,    // UTF-16 code unit
    Char4,    // UTF-32 code point
    Int1,
    Int2,
    Int4,
    Int8,
    Half,  // IEEE half precision
    Float4,
    Float8,
    Quad,     // two doubles, high then low part
    Complex,  // two doubles, real then imaginary
};

// From the type code JGetM reports; nullopt for boxed, extended, rational, symbol, sparse.
std::optional<JElement> elementFromInternalType(std::int64_t type);
// From the type code of the 3!:1 form.
std::optional<JElement> elementFromExternalType(std::int64_t type);
int elementBytes(JElement e);

// Converts a dense J array (rank extents in shape, atoms row-major at data) into a host
// value in one pass over the data. nullopt when the result would be unreasonably large
// for the data it stands for (millions of empty strings from an empty character table).
std::optional<HostValue> denseToHost(JElement e, const std::int64_t* shape, int rank, const void* data);

// A number as J writes it: _ for the minus sign, e for the exponent (1e20, 1e_5).
QString jNumberText(double v);
// A complex number in J's form: 3j4, _1j0.5; a zero imaginary part is left out as J does.
QString jComplexText(double re, double im);
