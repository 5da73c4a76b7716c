#pragma once

#include "base/app_state.h"
#include "support/fake_ports.h"

#include <QTemporaryDir>

#include <functional>
#include <memory>

class FlexGrid;
class TextBox;
class frmjMain;
struct SheetRange;

// The whole program as a test drives it: scripted ports, a temporary data
// folder, the real J engine (or one the test supplies), and the main window.
class TestApp {
public:
    TestApp();
    ~TestApp();

    ScriptedMessageBox msgBox;
    ScriptedFileDialog fileDialog;
    RecordingProcessStarter process;
    ScriptedDesktop desktop;
    MemoryClipboard clipboard;
    MemorySettings settings;
    ScriptedRegistry registry;
    RecordingJSessionStarter jsession;
    QTemporaryDir dataDir;
    QString historyFile;  // set before app() to keep the sentence history in a file

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

// A real press and release on a grid cell, scrolled into view first.
void clickCell(FlexGrid* grid, int row, int col, Qt::MouseButton button = Qt::LeftButton);
// Replaces a box's text and presses Enter in it.
void enter(TextBox* box, const QString& text);
// Fixes a range of the main window's sheet through the tool button; unless base is
// negative, the cells are first filled with base, base + 1, ... row by row.
void fixRange(frmjMain& main, const SheetRange& range, double base = -1);
