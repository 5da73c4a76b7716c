#pragma once

#include "engine/host_value.h"

#include <QString>

#include <vector>

// A piece of what J printed: kind 1 a result, 2 an error report, 3 an echoed input line,
// 4 a system assertion, 6 output of 1!:2]2 (echo, smoutput). Kind 0 closes output that
// was cut: `dropped` characters printed after the kept ones were left out.
struct JOutput {
    int kind;
    QString text;
    qint64 dropped = 0;
};

// The five members every window uses to talk to J. Codes: 0 success, 16 value
// error, 3 domain error (or, from GetB, a name that is not a noun), any other
// nonzero code a J error of its own number.
class IJEngine {
public:
    virtual ~IJEngine() = default;

    virtual int Do(const QString& sentence) = 0;
    virtual int GetB(const QString& name, HostValue& value) = 0;
    virtual int Set(const QString& name, const HostValue& value) = 0;
    virtual QString ErrorText(int code) = 0;
    virtual void Clear() = 0;

    // What J printed since the last take, in order; an engine that keeps nothing gives nothing.
    virtual std::vector<JOutput> takeOutputChunks() { return {}; }
    // Asks a running sentence to stop; safe from any thread. Nothing to stop by default.
    virtual void interrupt() {}
    // Input lines J has echoed so far (a script run with display), counted from the start;
    // safe from any thread.
    virtual qint64 echoedLines() const { return 0; }
};
