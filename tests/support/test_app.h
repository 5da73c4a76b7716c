#pragma once

#include "base/app_state.h"
#include "support/fake_ports.h"

#include <QTemporaryDir>

#include <functional>
#include <memory>

class frmjMain;

// The whole program as a test drives it: scripted ports, a temporary data
// folder, the real J engine (or one the test supplies), and the main window.
class TestApp {
public:
    TestApp();
    ~TestApp();

    ScriptedMessageBox msgBox;
    ScriptedFileDialog fileDialog;
    RecordingProcessStarter process;
    MemoryClipboard clipboard;
    MemorySettings settings;
    ScriptedRegistry registry;
    RecordingJSessionStarter jsession;
    QTemporaryDir dataDir;

    // Replace before showMain() to use a scripted engine.
    std::function<std::unique_ptr<IJEngine>(QString*)> engineFactory;

    AppState& app();
    // Fills the colour table, creates the main window and shows it, as start-up does.
    frmjMain& showMain();
    frmjMain& main() { return *m_main; }

private:
    std::unique_ptr<AppState> m_app;
    std::unique_ptr<frmjMain> m_main;
};

// Runs fn on the next modal window once it is showing (a window's ShowModal
// blocks the test until the window is unloaded, which fn is expected to do).
void runOnNextModal(std::function<void(QWidget*)> fn);
