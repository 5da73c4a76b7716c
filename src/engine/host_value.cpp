#include "engine/host_value.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace {

std::int64_t product(const std::vector<std::int64_t>& dims) {
    std::int64_t n = 1;
    for (auto d : dims) n *= d;
    return n;
}

}  // namespace

HostValue HostValue::boolean(bool b) {
    HostValue v;
    v.m_elementType = vt::Boolean;
    v.m_data = Booleans{static_cast<std::uint8_t>(b ? 1 : 0)};
    return v;
}

HostValue HostValue::longValue(std::int64_t x) {
    HostValue v;
    v.m_elementType = vt::Long;
    v.m_data = Longs{x};
    return v;
}

HostValue HostValue::doubleValue(double x) {
    HostValue v;
    v.m_elementType = vt::Double;
    v.m_data = Doubles{x};
    return v;
}

HostValue HostValue::string(const QString& s) {
    HostValue v;
    v.m_elementType = vt::String;
    v.m_data = Strings{s};
    return v;
}

HostValue HostValue::variant(HostValue inner) {
    HostValue v;
    v.m_elementType = vt::Variant;
    v.m_data = Variants{std::move(inner)};
    return v;
}

#define KALVORET_ARRAY_FACTORY(fn, Type, code)                                       \
    HostValue HostValue::fn(std::vector<std::int64_t> dims, Type data) {             \
        if (dims.empty() || product(dims) != static_cast<std::int64_t>(data.size())) \
            throw std::invalid_argument("array extents do not match its data");      \
        HostValue v;                                                                 \
        v.m_elementType = code;                                                      \
        v.m_isArray = true;                                                          \
        v.m_dims = std::move(dims);                                                  \
        v.m_data = std::move(data);                                                  \
        return v;                                                                    \
    }

KALVORET_ARRAY_FACTORY(booleanArray, Booleans, vt::Boolean)
KALVORET_ARRAY_FACTORY(longArray, Longs, vt::Long)
KALVORET_ARRAY_FACTORY(doubleArray, Doubles, vt::Double)
KALVORET_ARRAY_FACTORY(stringArray, Strings, vt::String)
KALVORET_ARRAY_FACTORY(variantArray, Variants, vt::Variant)
#undef KALVORET_ARRAY_FACTORY

std::optional<std::int64_t> HostValue::upperBound(int d) const {
    if (!m_isArray || d < 1 || d > static_cast<int>(m_dims.size())) return std::nullopt;
    return m_dims[d - 1] - 1;
}

std::int64_t HostValue::count() const {
    return std::visit(
        [](const auto& data) -> std::int64_t {
            if constexpr (std::is_same_v<std::decay_t<decltype(data)>, std::monostate>)
                return 0;
            else
                return static_cast<std::int64_t>(data.size());
        },
        m_data);
}

HostValue HostValue::at(std::int64_t i) const {
    if (i < 0 || i >= count()) return {};
    if (auto b = booleans()) return boolean((*b)[i] != 0);
    if (auto l = longs()) return longValue((*l)[i]);
    if (auto d = doubles()) return doubleValue((*d)[i]);
    if (auto s = strings()) return string((*s)[i]);
    if (auto v = variants()) return (*v)[i];
    return {};
}

std::optional<QString> HostValue::textAt(std::int64_t i) const {
    if (m_elementType == vt::Empty) return QString();
    if (i < 0 || i >= count()) return std::nullopt;
    if (auto b = booleans()) return QString((*b)[i] ? QStringLiteral("1") : QStringLiteral("0"));
    if (auto l = longs()) return generalNumberText((*l)[i]);
    if (auto d = doubles()) return generalNumberText((*d)[i]);
    if (auto s = strings()) return (*s)[i];
    if (auto v = variants()) return (*v)[i].text();
    return QString();
}

std::optional<QString> HostValue::text() const {
    if (m_isArray) return std::nullopt;
    return textAt(0);
}

std::optional<double> HostValue::numberAt(std::int64_t i) const {
    if (i < 0 || i >= count()) return std::nullopt;
    if (auto b = booleans()) return (*b)[i] ? 1.0 : 0.0;
    if (auto l = longs()) return static_cast<double>((*l)[i]);
    if (auto d = doubles()) return (*d)[i];
    if (auto v = variants()) {
        const HostValue& inner = (*v)[i];
        if (!inner.isArray()) return inner.numberAt(0);
    }
    return std::nullopt;
}

bool HostValue::operator==(const HostValue& other) const {
    return m_elementType == other.m_elementType && m_isArray == other.m_isArray && m_dims == other.m_dims &&
           m_data == other.m_data;
}

QString generalNumberText(std::int64_t v) { return QString::number(v); }

QString generalNumberText(double v) {
    if (std::isnan(v)) return QStringLiteral("_.");
    if (std::isinf(v)) return v > 0 ? QStringLiteral("_") : QStringLiteral("__");
    if (v == 0) return QStringLiteral("0");

    // 15 significant digits, then the exponent decides between plain and E form.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    std::string_view s(buf, res.ptr - buf);
    bool negative = s.front() == '-';
    if (negative) s.remove_prefix(1);
    auto ePos = s.find('e');
    std::string digits;
    digits.reserve(15);
    for (char c : s.substr(0, ePos))
        if (c != '.') digits.push_back(c);
    int exponent = 0;
    std::from_chars(s.data() + ePos + (s[ePos + 1] == '+' ? 2 : 1), s.data() + s.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out;
    if (negative) out.push_back('-');
    if (exponent >= 15 || exponent < -4) {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out.push_back('.');
            out.append(digits, 1);
        }
        out.push_back('E');
        out.push_back(exponent < 0 ? '-' : '+');
        int a = std::abs(exponent);
        if (a < 10) out.push_back('0');
        out.append(std::to_string(a));
    } else if (exponent < 0) {
        out.append("0.");
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out.append(digits);
    } else {
        size_t intLen = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= intLen) {
            out.append(digits);
            out.append(intLen - digits.size(), '0');
        } else {
            out.append(digits, 0, intLen);
            out.push_back('.');
            out.append(digits, intLen);
        }
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

int CountDims(const HostValue& v) { return v.isArray() ? static_cast<int>(v.dims().size()) : 0; }

qsizetype characterCount(const QString& s) {
    qsizetype lowSurrogates = 0;
    for (QChar c : s) lowSurrogates += c.isLowSurrogate() ? 1 : 0;
    return s.size() - lowSurrogates;
}
