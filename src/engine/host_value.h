#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

// Value type codes of the host value form; an array adds vtArray to its element code.
namespace vt {
inline constexpr int Empty = 0;
inline constexpr int Null = 1;
inline constexpr int Integer = 2;
inline constexpr int Long = 3;
inline constexpr int Single = 4;
inline constexpr int Double = 5;
inline constexpr int Currency = 6;
inline constexpr int Date = 7;
inline constexpr int String = 8;
inline constexpr int Object = 9;
inline constexpr int Error = 10;
inline constexpr int Boolean = 11;
inline constexpr int Variant = 12;
inline constexpr int Decimal = 14;
inline constexpr int Byte = 17;
inline constexpr int Array = 8192;
}  // namespace vt

// A value as the windows see it: a type code and either a scalar or an array of
// any rank with lower bounds 0, stored row-major (the last index varies fastest).
// Long values are 64-bit; Variant arrays hold nested values (J's boxes).
class HostValue {
public:
    using Booleans = std::vector<std::uint8_t>;
    using Longs = std::vector<std::int64_t>;
    using Doubles = std::vector<double>;
    using Strings = std::vector<QString>;
    using Variants = std::vector<HostValue>;

    HostValue() = default;  // Empty

    static HostValue boolean(bool b);
    static HostValue longValue(std::int64_t v);
    static HostValue doubleValue(double v);
    static HostValue string(const QString& s);
    static HostValue variant(HostValue inner);  // a scalar Variant (a J box atom)

    // Arrays; dims must hold at least one extent and their product must equal the data size.
    static HostValue booleanArray(std::vector<std::int64_t> dims, Booleans data);
    static HostValue longArray(std::vector<std::int64_t> dims, Longs data);
    static HostValue doubleArray(std::vector<std::int64_t> dims, Doubles data);
    static HostValue stringArray(std::vector<std::int64_t> dims, Strings data);
    static HostValue variantArray(std::vector<std::int64_t> dims, Variants data);

    int type() const { return m_isArray ? m_elementType + vt::Array : m_elementType; }
    int elementType() const { return m_elementType; }
    bool isArray() const { return m_isArray; }
    bool isEmpty() const { return m_elementType == vt::Empty; }

    // Extents per dimension; empty for scalars.
    const std::vector<std::int64_t>& dims() const { return m_dims; }
    // Upper bound of dimension d (1-based), as the host's UBound gives it; nullopt past the rank.
    std::optional<std::int64_t> upperBound(int d) const;
    std::int64_t count() const;  // number of elements (1 for a scalar, 0 for Empty)

    const Booleans* booleans() const { return std::get_if<Booleans>(&m_data); }
    const Longs* longs() const { return std::get_if<Longs>(&m_data); }
    const Doubles* doubles() const { return std::get_if<Doubles>(&m_data); }
    const Strings* strings() const { return std::get_if<Strings>(&m_data); }
    const Variants* variants() const { return std::get_if<Variants>(&m_data); }

    // Element i (row-major) as a value of its own (a scalar, or the nested value of a Variant).
    HostValue at(std::int64_t i) const;
    // Text form of element i: numbers in the host's general form, Booleans as 1 and 0,
    // Empty as "". nullopt when the element has no text form (a nested array).
    std::optional<QString> textAt(std::int64_t i) const;
    // Text form of a scalar value; nullopt for arrays.
    std::optional<QString> text() const;
    // Numeric value of element i, if it is a number or a Boolean.
    std::optional<double> numberAt(std::int64_t i) const;

    bool operator==(const HostValue& other) const;

private:
    int m_elementType = vt::Empty;
    bool m_isArray = false;
    std::vector<std::int64_t> m_dims;
    std::variant<std::monostate, Booleans, Longs, Doubles, Strings, Variants> m_data;
};

// The host's general number form: integers without a point, up to 15 significant
// digits, exponent form such as 1E+20 or 1E-05 for very large and small magnitudes.
QString generalNumberText(double v);
QString generalNumberText(std::int64_t v);

// Number of dimensions; 0 for scalars and strings.
int CountDims(const HostValue& v);

// Number of characters (code points) of a string, as the list's size column counts them.
qsizetype characterCount(const QString& s);
