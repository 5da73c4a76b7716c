#include "engine/jdll_engine.h"

#include <algorithm>

#include <clocale>
#include <cstring>
#include <utility>

#include "engine/j_binary.h"
#include "engine/j_dense.h"
#include "engine/j_names.h"

namespace {

using I = JRawApi::I;

// J's output callback carries only the instance, so each engine registers itself here.
std::mutex g_registryMutex;
std::vector<std::pair<void*, JEngine*>> g_engines;

JEngine* engineFor(void* instance) {
    std::lock_guard lock(g_registryMutex);
    for (const auto& [js, engine] : g_engines)
        if (js == instance) return engine;
    return nullptr;
}

// Output beyond this many characters since the last take is counted, not kept.
constexpr qsizetype kMaxKeptOutputChars = 16'000'000;

// J offers post-mortem inspection on an empty next line; we never send one, so the hint misleads.
const QString kInspectHint = QStringLiteral("Press ENTER to inspect\n");

// Scratch names live in a locale of our own, never in base.
const QByteArray kTemp = "tmp_kalvoret_";
const QByteArray kBinTemp = "bin_kalvoret_";
const QByteArray kNumberTemp = "num_kalvoret_";

constexpr int kMaxConversionDepth = 4;
constexpr int kJMaxRank = 63;

constexpr I kJBoolean = 1;
constexpr I kJLiteral = 2;
constexpr I kJInteger = 4;
constexpr I kJFloating = 8;
constexpr I kJBoxed = 32;
constexpr I kJExtended = 64;
constexpr I kJRational = 128;
constexpr I kJSymbol = 65536;

// J error numbers used directly.
constexpr int kJDomain = 3;
constexpr int kJIllFormedName = 4;
constexpr int kJLimit = 10;
constexpr int kJNonce = 11;
constexpr int kJSpelling = 16;
constexpr int kJSystem = 20;
constexpr int kJValue = 21;
constexpr int kJOutOfMemory = 22;

class BusyScope {
public:
    explicit BusyScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~BusyScope() { m_flag = false; }

private:
    bool& m_flag;
};

// The 3!:1 bytes inside the block JGetA returns: a J literal list whose header gives the
// offset of its data (word 0) and its length (word 5, repeated as the one shape word).
bool binaryFromGetA(const void* block, const unsigned char*& bytes, std::size_t& size) {
    const auto* p = static_cast<const unsigned char*>(block);
    I w[8];
    std::memcpy(w, p, sizeof w);
    const I offset = w[0], type = w[3], length = w[5], rank = w[6] & 0xff, shape0 = w[7];
    if (type != kJLiteral || rank != 1 || length != shape0 || length < 32 || offset < 64 || offset > 4096 ||
        offset % 8 != 0)
        return false;
    bytes = p + offset;
    size = static_cast<std::size_t>(length);
    return true;
}

// Symbols arrive from 5 s: as boxed strings; give them the shape of the symbol array.
HostValue symbolStrings(const HostValue& boxed) {
    const auto* items = boxed.variants();
    if (!items) return boxed;
    HostValue::Strings strings;
    strings.reserve(items->size());
    for (const HostValue& item : *items) {
        if (item.type() != vt::String) return boxed;
        strings.push_back(item.strings()->front());
    }
    if (!boxed.isArray()) return HostValue::string(strings.front());
    return HostValue::stringArray(boxed.dims(), std::move(strings));
}

// What JSetM needs for one value, with any converted data kept alive here.
struct SetPayload {
    I type = 0;
    std::vector<I> shape;
    const void* data = nullptr;
    HostValue::Booleans booleans;
    HostValue::Longs longs;
    HostValue::Doubles doubles;
    QByteArray text;
};

// 0, or the code refusing the value.
int payloadFor(const HostValue& value, SetPayload& out) {
    const HostValue* v = &value;
    while (!v->isArray() && v->elementType() == vt::Variant) v = &v->variants()->front();
    if (v->isArray()) {
        if (v->dims().size() > static_cast<size_t>(kJMaxRank)) return kJLimit;
        out.shape.assign(v->dims().begin(), v->dims().end());
    }

    switch (v->elementType()) {
        case vt::Boolean:
            out.type = kJBoolean;
            out.booleans = *v->booleans();
            for (auto& b : out.booleans) b = b != 0;  // J relies on 0 and 1 only
            out.data = out.booleans.data();
            return 0;
        case vt::Long:
            out.type = kJInteger;
            out.data = v->longs()->data();
            return 0;
        case vt::Double:
            out.type = kJFloating;
            out.data = v->doubles()->data();
            return 0;
        case vt::String:
            if (v->isArray()) return kJDomain;
            out.type = kJLiteral;
            out.text = v->strings()->front().toUtf8();
            out.shape = {static_cast<I>(out.text.size())};
            out.data = out.text.constData();
            return 0;
        case vt::Variant: {
            // An array of numbers boxed one by one, as sheets hand them over.
            bool allBoolean = true, allWhole = true;
            for (const HostValue& item : *v->variants()) {
                if (item.isArray()) return kJDomain;
                const int t = item.elementType();
                if (t != vt::Boolean && t != vt::Long && t != vt::Double) return kJDomain;
                allBoolean = allBoolean && t == vt::Boolean;
                allWhole = allWhole && t != vt::Double;
            }
            for (const HostValue& item : *v->variants()) {
                if (allBoolean)
                    out.booleans.push_back(item.booleans()->front() != 0);
                else if (allWhole)
                    out.longs.push_back(item.longs() ? item.longs()->front() : item.booleans()->front() != 0);
                else
                    out.doubles.push_back(*item.numberAt(0));
            }
            out.type = allBoolean ? kJBoolean : allWhole ? kJInteger : kJFloating;
            out.data = allBoolean ? static_cast<const void*>(out.booleans.data())
                       : allWhole ? static_cast<const void*>(out.longs.data())
                                  : static_cast<const void*>(out.doubles.data());
            return 0;
        }
        default:
            return kJDomain;
    }
}

}  // namespace

int JEngine::codeFromJ(int jCode) {
    if (jCode == kJValue) return 16;
    if (jCode == kJSpelling) return 21;
    return jCode;
}

int JEngine::jCodeFromCode(int code) {
    if (code == 16) return kJValue;
    if (code == 21) return kJSpelling;
    return code;
}

JEngine::JEngine(const JLibrary& library, void* instance) : m_api(library.api), m_instance(instance) {
    std::lock_guard lock(g_registryMutex);
    g_engines.emplace_back(instance, this);
}

JEngine::~JEngine() {
    {
        std::lock_guard lock(g_registryMutex);
        std::erase_if(g_engines, [this](const auto& entry) { return entry.second == this; });
    }
    // Freeing an instance from inside one of its own callbacks would pull J's state from
    // under the running sentence; such an instance is left allocated.
    if (m_instance && !m_busy) m_api.JFree(m_instance);
}

std::unique_ptr<JEngine> JEngine::create(QString* error) {
    // Qt's application object takes LC_NUMERIC from the environment; J formats numbers with printf.
    std::setlocale(LC_NUMERIC, "C");

    QString loadError;
    const JLibrary* library = loadJLibrary(&loadError);
    if (!library) {
        if (error) *error = loadError;
        return nullptr;
    }
    QByteArray binDir = library->binDir.toUtf8();
    void* instance = library->api.JInit2(binDir.data());
    if (!instance) {
        if (error)
            *error = QStringLiteral(
                         "J エンジンを初期化できません。\nThe J engine in %1 could not start an instance "
                         "(JInit2).")
                         .arg(library->binDir);
        return nullptr;
    }
    std::unique_ptr<JEngine> engine(new JEngine(*library, instance));
    if (!engine->start(library->binDir, error)) return nullptr;
    return engine;
}

bool JEngine::start(const QString& binDir, QString* error) {
    void* callbacks[5] = {reinterpret_cast<void*>(&JEngine::onOutput), nullptr,
                          reinterpret_cast<void*>(&JEngine::onInput), nullptr,
                          reinterpret_cast<void*>(std::intptr_t{3})};  // session kind: console
    m_api.JSM(m_instance, callbacks);

    // The first sentence J's own console sends: where J lives, then its profile, which
    // loads the standard library.
    QString quoted = binDir;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    const QByteArray first =
        "(3 : '0!:0 y')<BINPATH,'/profile.ijs'[UNAME_z_=:'Linux'[ARGV_z_=:,<'kalvoret'"
        "[BINPATH_z_=:'" +
        quoted.toUtf8() + "'";
    const int rc = runJ(first);

    // A profile that stops part-way leaves the locale at z and the library half loaded.
    std::int64_t inBaseFlag = 0, verbClass = -1;
    const bool inBase = runQuiet("num_kalvoret_=:(<'base')-:18!:5''") == 0 &&
                        readIntegerNoun(kNumberTemp, inBaseFlag) && inBaseFlag == 1;
    const bool libraryThere = runQuiet("num_kalvoret_=:4!:0<'cocurrent_z_'") == 0 &&
                              readIntegerNoun(kNumberTemp, verbClass) && verbClass == 3;
    runQuiet("cocurrent_z_<'base'");
    const QString printed = takeOutput();
    if (rc == 0 && inBase && libraryThere) return true;

    if (error) {
        *error = QStringLiteral(
                     "J のプロファイルが正常に実行されませんでした。\n"
                     "J's profile (%1/profile.ijs) did not run cleanly (code %2%3).\n%4")
                     .arg(binDir)
                     .arg(rc)
                     .arg(!inBase         ? QStringLiteral(", stopped outside the base locale")
                          : !libraryThere ? QStringLiteral(", standard library missing")
                                          : QString())
                     .arg(printed.trimmed());
    }
    return false;
}

int JEngine::runJ(const QByteArray& sentence) {
    BusyScope busy(m_busy);
    QByteArray line = sentence;
    return m_api.JDo(m_instance, line.data());
}

int JEngine::runQuiet(const QByteArray& sentence) {
    m_quiet = true;
    const int rc = runJ(sentence);
    m_quiet = false;
    return rc;
}

// Always a sentence: JGetLocale reads freed state after an interrupted explicit definition.
// A break that arrives just as the user's sentence ends may stop the first try.
void JEngine::restoreBaseLocale() {
    if (runQuiet("cocurrent_z_<'base'") != 0) runQuiet("cocurrent_z_<'base'");
}

int JEngine::Do(const QString& sentence) {
    if (m_busy) return kControlError;
    QByteArray line = sentence.toUtf8();
    // J would end the sentence at a NUL without a word; refuse it as it refuses other stray
    // control characters.
    if (line.contains('\0')) return codeFromJ(kJSpelling);
    // A sentence is one line to J: a CR or LF inside it is a spelling error there. Text boxes
    // end lines in CR LF, so a line break is taken as the blank it stands for.
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    // An empty line after an error would open J's debugger, which would then wait for input.
    bool blank = true;
    for (char c : line) blank = blank && (c == ' ' || c == '\t');
    if (blank) return 0;

    m_suspended = false;
    int rc = runJ(line);
    if (m_suspended && rc == 0) {
        // J entered its debugger (debugging was switched on); our input callback ended the
        // suspension, after which J reports success. The error that suspended it is the result.
        std::int64_t last = 0;
        rc = runQuiet("num_kalvoret_=:13!:11''") == 0 && readIntegerNoun(kNumberTemp, last) && last > 0
                 ? static_cast<int>(last)
                 : kJDomain;
    }
    m_suspended = false;
    // Every sentence starts in base, so J_Get=. and the host's names always meet there.
    restoreBaseLocale();
    return codeFromJ(rc);
}

int JEngine::GetB(const QString& name, HostValue& value) {
    value = HostValue();
    if (m_busy) return kControlError;
    const auto qualified = baseQualifiedName(name);
    if (!qualified) return kJIllFormedName;
    try {
        const int rc = readNoun(*qualified, value, 0);
        if (rc != 0) value = HostValue();
        return rc;
    } catch (const std::bad_alloc&) {
        value = HostValue();
        return kJOutOfMemory;
    }
}

bool JEngine::readIntegerNoun(const QByteArray& name, std::int64_t& out) {
    I type = 0, rank = 0, shape = 0, data = 0;
    BusyScope busy(m_busy);
    if (m_api.JGetM(m_instance, const_cast<char*>(name.constData()), &type, &rank, &shape, &data) != 0 ||
        rank != 0)
        return false;
    if (type == kJInteger)
        std::memcpy(&out, reinterpret_cast<const void*>(data), sizeof out);
    else if (type == kJBoolean)
        out = *reinterpret_cast<const std::uint8_t*>(data);
    else
        return false;
    return true;
}

int JEngine::readNoun(const QByteArray& name, HostValue& value, int depth) {
    if (depth > kMaxConversionDepth) return kJNonce;
    I type = 0, rank = 0, shape = 0, data = 0;
    int rc;
    {
        BusyScope busy(m_busy);
        rc = m_api.JGetM(m_instance, const_cast<char*>(name.constData()), &type, &rank, &shape, &data);
    }
    if (rc != 0) return classifyUnreadable(name, rc);
    if (rank < 0 || rank > kJMaxRank + 1) return kJSystem;

    if (type < 0) return readConverted("$.^:_1 " + name, value, depth);  // sparse: read it dense

    if (const auto element = elementFromInternalType(type)) {
        // One pass over J's live data, copied before the next engine call.
        auto converted = denseToHost(*element, reinterpret_cast<const std::int64_t*>(shape),
                                     static_cast<int>(rank), reinterpret_cast<const void*>(data));
        if (!converted) return kJLimit;
        value = std::move(*converted);
        return 0;
    }
    switch (type) {
        case kJBoxed:
        case kJExtended:
        case kJRational:
            return readBinary(name, value, false);
        case kJSymbol: {
            HostValue boxed;
            rc = readConverted("5 s: " + name, boxed, depth);
            if (rc == 0) value = symbolStrings(boxed);
            return rc;
        }
        default:
            return kJNonce;  // a noun type this build has no host form for
    }
}

int JEngine::classifyUnreadable(const QByteArray& name, int getmCode) {
    if (getmCode == kJIllFormedName) return kJIllFormedName;
    // JGetM answers the same for an undefined name and a verb; the name class tells them apart.
    std::int64_t nameClass = 0;
    if (runQuiet(kNumberTemp + "=:4!:0<'" + name + "'") != 0 || !readIntegerNoun(kNumberTemp, nameClass))
        return codeFromJ(kJValue);
    if (nameClass < 0) return codeFromJ(kJValue);
    if (nameClass >= 1 && nameClass <= 3) return kJDomain;
    return codeFromJ(getmCode);
}

int JEngine::readConverted(const QByteArray& expression, HostValue& value, int depth) {
    const int rc = runQuiet(kTemp + "=:" + expression);
    if (rc != 0) return codeFromJ(rc);
    const int read = readNoun(kTemp, value, depth + 1);
    runQuiet("4!:55<'" + kTemp + "'");
    return read;
}

int JEngine::readBinary(const QByteArray& name, HostValue& value, bool converted) {
    // Symbols inside boxes have no portable binary form (they are indexes into this
    // instance's symbol table): turn them into boxed strings in J, then read again.
    auto convertLeaves = [&]() -> int {
        if (converted) return kJNonce;
        const int rc = runQuiet(kTemp + "=:(3 :'if. 65536=3!:0 y do. 5 s: y else. y end.')L:0 " + name);
        if (rc != 0) return codeFromJ(rc);
        const int read = readBinary(kTemp, value, true);
        runQuiet("4!:55<'" + kTemp + "'");
        return read;
    };

    void* block;
    {
        BusyScope busy(m_busy);
        block = m_api.JGetA(m_instance, name.size(), const_cast<char*>(name.constData()));
    }
    if (!block) return convertLeaves();

    const unsigned char* bytes = nullptr;
    std::size_t size = 0;
    bool viaTemp = false;
    if (!binaryFromGetA(block, bytes, size)) {
        // Not the block layout this build knows: let J produce the same bytes as a noun.
        if (runQuiet(kBinTemp + "=:3!:1 " + name) != 0) return kJSystem;
        I type = 0, rank = 0, shape = 0, data = 0;
        BusyScope busy(m_busy);
        if (m_api.JGetM(m_instance, const_cast<char*>(kBinTemp.constData()), &type, &rank, &shape, &data) !=
                0 ||
            type != kJLiteral || rank != 1)
            return kJSystem;
        bytes = reinterpret_cast<const unsigned char*>(data);
        size = static_cast<std::size_t>(*reinterpret_cast<const I*>(shape));
        viaTemp = true;
    }

    JBinaryResult decoded = decodeJBinary(bytes, size);
    if (viaTemp) runQuiet("4!:55<'" + kBinTemp + "'");
    switch (decoded.status) {
        case JBinaryResult::Status::Ok:
            value = std::move(decoded.value);
            return 0;
        case JBinaryResult::Status::NeedsConversion:
            return convertLeaves();
        case JBinaryResult::Status::TooDeep:
        case JBinaryResult::Status::TooLarge:
            return kJLimit;
        case JBinaryResult::Status::Malformed:
            break;
    }
    return kJSystem;
}

int JEngine::Set(const QString& name, const HostValue& value) {
    if (m_busy) return kControlError;
    const auto qualified = baseQualifiedName(name);
    if (!qualified) return kJIllFormedName;
    SetPayload payload;
    try {
        if (const int refused = payloadFor(value, payload)) return refused;
    } catch (const std::bad_alloc&) {
        return kJOutOfMemory;
    }

    // JSetM answers with whatever error the previous call left behind; a no-op clears it.
    runQuiet("i.0 0");
    I type = payload.type;
    I rank = static_cast<I>(payload.shape.size());
    I shape = reinterpret_cast<I>(payload.shape.data());
    I data = reinterpret_cast<I>(payload.data);
    BusyScope busy(m_busy);
    return codeFromJ(
        m_api.JSetM(m_instance, const_cast<char*>(qualified->constData()), &type, &rank, &shape, &data));
}

QString JEngine::ErrorText(int code) {
    if (code == 0) return {};
    if (code == kExitRequest) return QStringLiteral("exit request");  // J has no text of its own for it
    I text = 0;
    m_api.JErrorTextM(m_instance, jCodeFromCode(code), &text);
    return text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString();
}

void JEngine::Clear() {
    if (m_busy) return;
    runQuiet("cocurrent_z_<'base'");
    runQuiet("4!:55 (4!:1) 0 1 2 3");
}

QString JEngine::takeOutput() {
    std::lock_guard lock(m_outputMutex);
    QString all;
    all.reserve(m_outputChars);
    for (const OutputChunk& chunk : m_output) all += chunk.text;
    m_output.clear();
    m_outputChars = 0;
    m_droppedChars = 0;
    return all;
}

std::vector<JEngine::OutputChunk> JEngine::takeOutputChunks() {
    std::lock_guard lock(m_outputMutex);
    std::vector<OutputChunk> chunks(std::make_move_iterator(m_output.begin()),
                                    std::make_move_iterator(m_output.end()));
    if (m_droppedChars > 0) chunks.push_back({0, QString(), m_droppedChars});
    m_output.clear();
    m_outputChars = 0;
    m_droppedChars = 0;
    return chunks;
}

void JEngine::setOutputHandler(std::function<void(int, const QString&)> handler) {
    m_handler = std::move(handler);
}

void JEngine::interrupt() {
    // The first request stops the sentence at its next line; the second one also inside
    // a long primitive (a break instead of an attention interrupt).
    m_api.JInterrupt(m_instance);
    m_api.JInterrupt(m_instance);
}

void JEngine::onOutput(void* instance, int type, char* text) {
    if (JEngine* engine = engineFor(instance)) engine->handleOutput(type, text);
}

char* JEngine::onInput(void* instance, char* prompt) {
    // A prompt means J's debugger is suspended and waits for sentences; nobody can type
    // them here, so end the suspension (NULL). Without a prompt J wants the next line of
    // an explicit definition (3 : 0) or keyboard input: ")" ends the definition at once.
    if (prompt && *prompt) {
        if (JEngine* engine = engineFor(instance)) engine->m_suspended = true;
        return nullptr;
    }
    static char endOfDefinition[] = ")";
    return endOfDefinition;
}

void JEngine::handleOutput(int type, const char* text) {
    if (type == 5) {  // exit request: the program keeps running and JDo returns 15
        if (m_handler) m_handler(type, QString());
        return;
    }
    if (m_quiet) return;
    const QString s = text ? QString::fromUtf8(text) : QString();
    if (type == 2 && s == kInspectHint) return;
    if (type == 3) m_echoedLines.fetch_add(1, std::memory_order_relaxed);
    {
        std::lock_guard lock(m_outputMutex);
        const qsizetype room = kMaxKeptOutputChars - m_outputChars;
        if (s.size() <= room) {
            m_output.push_back({type, s});
            m_outputChars += s.size();
        } else {
            if (room > 0) m_output.push_back({type, s.left(room)});
            m_outputChars = kMaxKeptOutputChars;
            m_droppedChars += s.size() - std::max<qsizetype>(room, 0);
        }
    }
    if (m_handler) {
        try {
            m_handler(type, s);
        } catch (...) {
            // An exception must not unwind through J's C frames.
        }
    }
}
