#pragma once

#include "base/fixed_table.h"
#include "base/jvar_tables.h"
#include "base/ports.h"
#include "base/progress.h"
#include "base/sentence_history.h"
#include "engine/j_engine.h"

#include <QPointer>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class QMetaObject;
class QWidget;
class IMainWindow;
class JSession;
class SessionGate;
class VbForm;

// State of the file hand-off to the desktop spreadsheet program.
struct ExcelHandoffState {
    QString ExcelFileName;
    QString ExcelFileTitle;
    QString ExcelExePath;
};

// The state that the windows share, created once in main() (or by a test) and
// passed to every window.
class AppState {
public:
    explicit AppState(Ports ports);
    ~AppState();
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    const Ports& ports() const { return m_ports; }
    IMessageBox& msgBox() const { return *m_ports.msgBox; }
    IFileDialog& fileDialog() const { return *m_ports.fileDialog; }
    IProcessStarter& process() const { return *m_ports.process; }
    IDesktop& desktop() const { return *m_ports.desktop; }
    IClipboard& clipboard() const { return *m_ports.clipboard; }
    ISettings& settings() const { return *m_ports.settings; }
    IRegistry& registry() const { return *m_ports.registry; }
    IJSessionStarter& jsessionStarter() const { return *m_ports.jsession; }
    const QString& dataDir() const { return m_ports.dataDir; }

    // The one J session through which all evaluation goes.
    bool hasEngine() const { return m_session != nullptr; }
    IJEngine& J() const;
    JSession* session() const { return m_session.get(); }
    // Keeps input out of the windows while a long J call runs; null without a session.
    SessionGate* gate() const { return m_gate.get(); }
    // Starts the J session unless it runs already; false (and why) when it cannot start.
    bool CreateEngine(QString* error);

    std::array<double, 27> MatrixColors{};
    void FillMatrixColors();

    // Long work reports here; the main window shows it.
    Progress progress;

    // The sentences run in the expression box and the console, kept in ports().historyFile.
    SentenceHistory& history() { return m_history; }

    std::int16_t PendingKind = 0;
    QString PendingCall;

    IMainWindow* MainWindow = nullptr;
    IMainWindow* MainWindowLink = nullptr;

    FixedMatrixState fixed;
    JVarState jvars;
    ExcelHandoffState excel;
    // The separate J sessions started from the Tools menu; each ends with the program.
    std::vector<std::unique_ptr<IJSession>> jExeServers;

    // Windows are created on first use, owned by the main window, and kept.
    template <class T>
    T& form() {
        QPointer<VbForm>& slot = m_forms[&T::staticMetaObject];
        if (!slot) slot = new T(*this, m_formOwner);
        return static_cast<T&>(*slot.data());
    }
    void setFormOwner(QWidget* owner) { m_formOwner = owner; }

    // Loaded windows, in the order they were loaded.
    void formLoaded(VbForm* form);
    void formUnloaded(VbForm* form);
    std::vector<VbForm*> loadedForms() const;

private:
    Ports m_ports;
    SentenceHistory m_history;
    std::unique_ptr<JSession> m_session;
    std::unique_ptr<SessionGate> m_gate;
    QWidget* m_formOwner = nullptr;
    std::map<const QMetaObject*, QPointer<VbForm>> m_forms;
    std::vector<QPointer<VbForm>> m_loaded;
};

// The application title, under which settings are stored.
inline const QString kAppTitle = QStringLiteral("Kalvoret");
