#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/j_engine.h"
#include "engine/j_library.h"

// The J engine in this process: one J instance of libj.so, started as J's own console
// starts it (profile and standard library loaded), with its output captured instead of
// printed. All members except interrupt() must be called from one thread.
//
// Codes: 0 success; J's value error is 16 and J's spelling error 21 (J numbers them the
// other way round); 15 an exit request (2!:55); every other J error keeps J's number.
class JEngine final : public IJEngine {
public:
    // Loads libj.so (once per process) and starts a new J instance. On failure returns
    // nullptr and, in error, a message naming the folders tried and how to install J.
    static std::unique_ptr<JEngine> create(QString* error);
    ~JEngine() override;

    JEngine(const JEngine&) = delete;
    JEngine& operator=(const JEngine&) = delete;

    // Runs one sentence. Line breaks inside it become blanks (a sentence is one line to J);
    // an all-blank sentence is answered 0 without reaching J; a NUL character is refused
    // with 21, as J refuses other stray control characters. The current locale is back
    // at base afterwards.
    int Do(const QString& sentence) override;
    // 0 and the value for a noun; 16 undefined; 3 a verb, adverb or conjunction; 4 an
    // ill-formed name. Plain names are read from the base locale.
    int GetB(const QString& name, HostValue& value) override;
    // Assigns a number, Boolean, string or array of them in the base locale; 3 for a value
    // J cannot hold as a plain array (nested Variants, string arrays, Empty).
    int Set(const QString& name, const HostValue& value) override;
    // J's text for the J error behind a code; "" for 0.
    QString ErrorText(int code) override;
    // Erases every name defined in the base locale.
    void Clear() override;

    // What J printed (results, errors, echoed input, 1!:2]2 output) since the last take.
    using OutputChunk = JOutput;
    QString takeOutput();
    std::vector<OutputChunk> takeOutputChunks() override;
    // Called for every piece of output as it arrives (kind 5 with empty text for an exit
    // request). The handler must not call back into this engine while J runs.
    void setOutputHandler(std::function<void(int kind, const QString& text)> handler);

    // Asks a running sentence to stop, even inside a long primitive; safe from any thread.
    void interrupt() override;
    qint64 echoedLines() const override { return m_echoedLines.load(std::memory_order_relaxed); }

    // The resolved entry points and this engine's instance, for measurements against raw calls.
    const JRawApi& rawApi() const { return m_api; }
    void* rawInstance() const { return m_instance; }

    static int codeFromJ(int jCode);
    static int jCodeFromCode(int code);

    static constexpr int kExitRequest = 15;
    static constexpr int kControlError = 23;

private:
    JEngine(const JLibrary& library, void* instance);

    bool start(const QString& binDir, QString* error);
    int runJ(const QByteArray& sentence);      // user sentence, output kept
    int runQuiet(const QByteArray& sentence);  // our own sentence, output dropped
    void restoreBaseLocale();
    int readNoun(const QByteArray& name, HostValue& value, int depth);
    int classifyUnreadable(const QByteArray& name, int getmCode);
    int readBinary(const QByteArray& name, HostValue& value, bool converted);
    int readConverted(const QByteArray& expression, HostValue& value, int depth);
    bool readIntegerNoun(const QByteArray& name, std::int64_t& out);

    static void onOutput(void* instance, int type, char* text);
    static char* onInput(void* instance, char* prompt);
    void handleOutput(int type, const char* text);

    JRawApi m_api;
    void* m_instance = nullptr;
    bool m_busy = false;       // inside a call into J
    bool m_quiet = false;      // output of our own sentences is dropped
    bool m_suspended = false;  // J asked for debug input during the current sentence
    std::function<void(int, const QString&)> m_handler;
    std::mutex m_outputMutex;
    std::deque<OutputChunk> m_output;
    qsizetype m_outputChars = 0;
    qint64 m_droppedChars = 0;
    std::atomic<qint64> m_echoedLines{0};
};
