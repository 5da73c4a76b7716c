#pragma once

#include <QString>
#include <cstdint>

// The engine's C entry points, resolved from libj.so. Benchmarks call them directly
// to compare against the engine class.
struct JRawApi {
    using JS = void*;
    using I = std::int64_t;

    JS (*JInit2)(char* binDir) = nullptr;
    void (*JSM)(JS, void** callbacks) = nullptr;
    int (*JDo)(JS, char* sentence) = nullptr;
    int (*JFree)(JS) = nullptr;
    int (*JGetM)(JS, char* name, I* type, I* rank, I* shape, I* data) = nullptr;
    int (*JSetM)(JS, char* name, I* type, I* rank, I* shape, I* data) = nullptr;
    void* (*JGetA)(JS, I nameLength, char* name) = nullptr;
    int (*JErrorTextM)(JS, I code, I* text) = nullptr;
    void (*JInterrupt)(JS) = nullptr;
};

struct JLibrary {
    JRawApi api;
    QString binDir;  // absolute; what JInit2 and BINPATH get
};

// Loads libj.so from the J home once per process (it is never unloaded: the engine keeps
// process-wide state). On failure returns nullptr and a message naming every folder tried,
// why each failed and how to install J; a later call tries again.
const JLibrary* loadJLibrary(QString* error);
