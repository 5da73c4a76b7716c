#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class IJEngine;

// Message box button and icon codes, and the answers, as the windows use them.
namespace mb {
inline constexpr int OKOnly = 0;
inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
// The second button (いいえ of a YesNo question) is the default, so a stray Enter
// does not answer はい.
inline constexpr int DefaultButton2 = 256;

inline constexpr int OK = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace mb

// Message boxes and questions. Lines in a prompt are joined by CR. An empty
// title means the application title.
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    virtual int MsgBox(const QString& prompt, int buttonsAndIcon = mb::OKOnly, const QString& title = {}) = 0;
};

// File dialogs. A filter is written "description|pattern|description|pattern".
struct OpenFileRequest {
    QString title;
    QString filter;
    int filterIndex = 1;
};
struct OpenFileAnswer {
    QString fileName;   // full path; empty when cancelled
    QString fileTitle;  // the file-name part
};
class IFileDialog {
public:
    virtual ~IFileDialog() = default;
    virtual OpenFileAnswer ShowOpen(const OpenFileRequest& request) = 0;
    // A printer set-up dialog; true when confirmed. Nothing uses its settings.
    virtual bool ShowPrinter(const QString& title) = 0;
};

// Starting programs as independent processes, always with an argument list.
class IProcessStarter {
public:
    virtual ~IProcessStarter() = default;
    virtual bool startDetached(const QString& program, const QStringList& arguments, QString* error) = 0;
};

// The desktop's own way of opening a file: its default application for the file's type.
class IDesktop {
public:
    virtual ~IDesktop() = default;
    enum class Open { Opened, NoApplication, Failed };
    virtual Open openWithDefaultApplication(const QString& file, QString* error) = 0;
};

class IClipboard {
public:
    virtual ~IClipboard() = default;
    virtual QString text() = 0;
    virtual void setText(const QString& text) = 0;
    virtual void clear() = 0;
};

// Per-user settings: sections and keys, values kept as text.
class ISettings {
public:
    virtual ~ISettings() = default;
    virtual QString GetSetting(const QString& section, const QString& key, const QString& defaultValue) = 0;
    virtual void SaveSetting(const QString& section, const QString& key, const QString& value) = 0;

    // A number read from the settings; the default when absent or not a number.
    double GetNumber(const QString& section, const QString& key, double defaultValue);
};

// The system registry. Linux has none: its implementation answers only the
// lookup of a system-information program.
enum class RegistryRoot { LocalMachine, CurrentUser };
struct RegistryValue {
    int type = 0;     // 1 string, 4 32-bit number
    QByteArray data;  // raw bytes as stored
};
class IRegistry {
public:
    virtual ~IRegistry() = default;
    virtual std::optional<RegistryValue> query(RegistryRoot root, const QString& keyName,
                                               const QString& valueName) = 0;
};

// The separate J session (kalvoret-jsession): its own process with its own J
// engine, driven by one command a line on its standard input.
class IJSession {
public:
    virtual ~IJSession() = default;
    // "Quit", "Do <sentence>", "Show <n>" or "Log <n>"; false when the session is gone.
    virtual bool send(const QString& commandLine) = 0;
};
class IJSessionStarter {
public:
    virtual ~IJSessionStarter() = default;
    // A running session, or null (and why) when it cannot be started.
    virtual std::unique_ptr<IJSession> start(QString* error) = 0;
};

// Everything outside the process that the windows use. main() wires the real
// ones; tests wire scripted ones.
struct Ports {
    IMessageBox* msgBox = nullptr;
    IFileDialog* fileDialog = nullptr;
    IProcessStarter* process = nullptr;
    IDesktop* desktop = nullptr;
    IClipboard* clipboard = nullptr;
    ISettings* settings = nullptr;
    IRegistry* registry = nullptr;
    IJSessionStarter* jsession = nullptr;
    QString dataDir;  // the KalvoretParts folder
    // The sentence history, history.txt beside the settings file; empty keeps it in memory only.
    QString historyFile;
    // Creates a J engine; on failure returns null and says why.
    std::function<std::unique_ptr<IJEngine>(QString* error)> engineFactory;
};
