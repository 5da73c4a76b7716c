#include "base/sentence_history.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

// Only the end of a bigger file is read: it holds the newest entries, and a stray huge
// file cannot take the memory.
constexpr qint64 kMaxFileBytes = 8 * 1024 * 1024;

QString normalised(const QString& sentence) {
    QString s = sentence;
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return s;
}

QString escaped(const QString& entry) {
    QString out;
    out.reserve(entry.size());
    for (const QChar c : entry) {
        if (c == u'\\')
            out += QLatin1String("\\\\");
        else if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c == u'\r')
            out += QLatin1String("\\r");
        else
            out += c;
    }
    return out;
}

QString unescaped(const QString& line) {
    QString out;
    out.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        const QChar next = i + 1 < line.size() ? line[i + 1] : QChar();
        if (c == u'\\' && (next == u'\\' || next == u'n' || next == u'r')) {
            out += next == u'n' ? QChar(u'\n') : next == u'r' ? QChar(u'\r') : next;
            ++i;
        } else {
            out += c;  // a backslash before anything else stands for itself
        }
    }
    return out;
}

}  // namespace

SentenceHistory::SentenceHistory(QString fileName) : m_fileName(std::move(fileName)) { load(); }

void SentenceHistory::load() {
    if (m_fileName.isEmpty() || !QFileInfo(m_fileName).isFile()) return;  // no pipe or device either
    QFile f(m_fileName);
    if (!f.open(QIODevice::ReadOnly)) return;
    const qint64 size = f.size();
    const bool cut = size > kMaxFileBytes;
    if (cut && !f.seek(size - kMaxFileBytes)) return;
    const QByteArray bytes = f.read(kMaxFileBytes);
    QList<QByteArray> lines = bytes.split('\n');
    if (cut && !lines.isEmpty()) lines.removeFirst();  // begins inside an entry
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) line.chop(1);  // a file edited into CR LF lines
        if (line.isEmpty() || line.contains('\0')) continue;
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(line);
        if (utf8.hasError()) continue;  // not text this program wrote
        const QString entry = normalised(unescaped(text));
        if (keeps(entry)) {
            m_entries << entry;
            m_chars += entry.size();
        }
    }
    trim();
    resetBrowsing();
}

bool SentenceHistory::save() const {
    if (m_fileName.isEmpty()) return true;
    QDir().mkpath(QFileInfo(m_fileName).absolutePath());
    QSaveFile f(m_fileName);
    if (!f.open(QIODevice::WriteOnly)) return false;
    for (const QString& entry : m_entries) f.write(escaped(entry).toUtf8() + '\n');
    return f.commit();
}

void SentenceHistory::trim() {
    while (!m_entries.isEmpty() && (m_entries.size() > kMaxEntries || m_chars > kMaxChars))
        m_chars -= m_entries.takeFirst().size();
}

bool SentenceHistory::keeps(const QString& entry) const {
    return !entry.trimmed().isEmpty() && entry.size() <= kMaxEntryChars &&
           (m_entries.isEmpty() || m_entries.last() != entry);
}

void SentenceHistory::add(const QString& sentence) {
    const QString entry = normalised(sentence);
    if (keeps(entry)) {
        m_entries << entry;
        m_chars += entry.size();
        trim();
        save();  // every time: a crash loses nothing, and a file of this size writes quickly
    }
    resetBrowsing();
}

std::optional<QString> SentenceHistory::older(const QString& current) {
    if (m_position == m_entries.size()) m_typed = current;
    if (m_position == 0) return std::nullopt;
    return m_entries[--m_position];
}

std::optional<QString> SentenceHistory::newer() {
    if (m_position >= m_entries.size()) return std::nullopt;
    return ++m_position == m_entries.size() ? m_typed : m_entries[m_position];
}

void SentenceHistory::resetBrowsing() {
    m_position = m_entries.size();
    m_typed.clear();
}
