#pragma once

#include "engine/host_value.h"

#include <QString>

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
};
