#include "engine/j_names.h"

namespace {

bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A name without any locale part: a letter, then letters, digits and single inner underscores.
bool isSimpleName(const QByteArray& s) {
    if (s.isEmpty() || !isAlpha(s.front()) || s.back() == '_') return false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '_') {
            if (s[i + 1] == '_') return false;
        } else if (!isAlpha(c) && !isDigit(c)) {
            return false;
        }
    }
    return true;
}

bool isLocaleName(const QByteArray& s) {
    if (s.isEmpty()) return false;
    bool digits = true;
    for (char c : s) digits = digits && isDigit(c);
    return digits || isSimpleName(s);
}

// JGetM and JSetM copy the name into a 256-byte buffer.
constexpr qsizetype kMaxNameBytes = 255;

}  // namespace

std::optional<QByteArray> baseQualifiedName(const QString& name) {
    const QString trimmed = name.trimmed();
    for (QChar c : trimmed)
        if (c.unicode() > 127) return std::nullopt;
    const QByteArray s = trimmed.toLatin1();
    if (s.isEmpty() || !isAlpha(s.front())) return std::nullopt;

    QByteArray result;
    if (s.contains("__")) {
        // Indirect locative: name__x__y, each part a plain name.
        qsizetype from = 0;
        while (true) {
            const qsizetype at = s.indexOf("__", from);
            const QByteArray part = s.mid(from, at < 0 ? -1 : at - from);
            if (!isSimpleName(part)) return std::nullopt;
            if (at < 0) break;
            from = at + 2;
        }
        result = s;
    } else if (s.back() == '_') {
        // Locative: name_locale_
        const QByteArray body = s.chopped(1);
        const qsizetype at = body.lastIndexOf('_');
        if (at < 0 || !isSimpleName(body.left(at)) || !isLocaleName(body.mid(at + 1))) return std::nullopt;
        result = s;
    } else {
        if (!isSimpleName(s)) return std::nullopt;
        result = s + "_base_";
    }
    if (result.size() > kMaxNameBytes) return std::nullopt;
    return result;
}
