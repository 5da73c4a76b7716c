#include "engine/j_library.h"

#include <dlfcn.h>

#include <QFileInfo>
#include <QStringList>
#include <memory>
#include <mutex>

#include "engine/j_home.h"

namespace {

std::mutex g_loadMutex;
std::unique_ptr<JLibrary> g_library;  // set once, never released

// Resolves every entry point or names the first one missing.
bool resolve(void* handle, JRawApi& api, QString* missing) {
    struct Entry {
        const char* name;
        void** slot;
    };
    const Entry entries[] = {
        {"JInit2", reinterpret_cast<void**>(&api.JInit2)},
        {"JSM", reinterpret_cast<void**>(&api.JSM)},
        {"JDo", reinterpret_cast<void**>(&api.JDo)},
        {"JFree", reinterpret_cast<void**>(&api.JFree)},
        {"JGetM", reinterpret_cast<void**>(&api.JGetM)},
        {"JSetM", reinterpret_cast<void**>(&api.JSetM)},
        {"JGetA", reinterpret_cast<void**>(&api.JGetA)},
        {"JErrorTextM", reinterpret_cast<void**>(&api.JErrorTextM)},
        {"JInterrupt", reinterpret_cast<void**>(&api.JInterrupt)},
    };
    for (const Entry& e : entries) {
        *e.slot = dlsym(handle, e.name);
        if (!*e.slot) {
            *missing = QString::fromLatin1(e.name);
            return false;
        }
    }
    return true;
}

}  // namespace

const JLibrary* loadJLibrary(QString* error) {
    std::lock_guard lock(g_loadMutex);
    if (g_library) return g_library.get();

    QStringList tried;
    const auto candidates = jHomeCandidates();
    for (const JHomeCandidate& c : candidates) {
        const QString path = jLibraryPath(c.folder);
        const QString label = QStringLiteral("  %1 (%2): ").arg(path, c.origin);
        if (!QFileInfo::exists(path)) {
            tried << label + QStringLiteral("file not found");
            continue;
        }
        dlerror();
        void* handle =
            dlopen(QFileInfo(path).absoluteFilePath().toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = dlerror();
            tried << label + (why ? QString::fromLocal8Bit(why) : QStringLiteral("dlopen failed"));
            continue;
        }
        auto lib = std::make_unique<JLibrary>();
        QString missing;
        if (!resolve(handle, lib->api, &missing)) {
            tried << label + QStringLiteral("not a J engine (no %1)").arg(missing);
            dlclose(handle);
            continue;
        }
        lib->binDir = QFileInfo(path).absolutePath();
        g_library = std::move(lib);
        return g_library.get();
    }

    if (error) {
        QString text =
            QStringLiteral("J エンジン (libj.so) を読み込めません。\nCannot load the J engine (libj.so).\n");
        if (tried.isEmpty())
            text += QStringLiteral("No J home is configured.\n");
        else
            text += QStringLiteral("Tried:\n") + tried.join(QLatin1Char('\n')) + QLatin1Char('\n');
        text += jInstallAdvice();
        *error = text;
    }
    return nullptr;
}
