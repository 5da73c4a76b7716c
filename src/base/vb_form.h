#pragma once

#include "base/vb_units.h"

#include <QMainWindow>

class AppState;

// The settings keys (section "Settings") under which a window keeps its rectangle.
struct RectKeys {
    QString left, top, width, height;
};
// The main window, the J console and the dictionary share these.
inline const RectKeys kMainRectKeys{QStringLiteral("MainLeft"), QStringLiteral("MainTop"),
                                    QStringLiteral("MainWidth"), QStringLiteral("MainHeight")};

// A window as the program's windows are written: a load step before it first
// shows (and again after each unload), a resize step, an unload step when it
// closes, and a position and size in twips that mean its outer rectangle.
// Controls are placed on client() in twips.
class VbForm : public QMainWindow {
    Q_OBJECT
public:
    // Outer size beyond the client area, in twips: borders, caption and menu bar.
    static constexpr int kNonClientWidth = 120;
    static constexpr int kCaptionHeight = 465;
    static constexpr int kMenuHeight = 345;

    VbForm(AppState& app, QWidget* parent, bool hasMenuBar);

    AppState& app() const { return m_app; }
    QWidget* client() const { return m_client; }

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void Move(int left, int top, int width, int height);
    void setSize(int width, int height);
    // 0 normal, 1 minimised, 2 maximised.
    int WindowState() const;
    // Left and top that centre the window on the screen, keeping its size.
    void centreOnScreen();
    // Moves the window to the rectangle kept in the settings; an absent value or one
    // that is not a number takes its default, a wild one is clamped.
    void restoreRect(const RectKeys& keys, const TwipsRect& defaults);
    // Keeps the rectangle in the settings, unless the window is minimised.
    void saveRect(const RectKeys& keys) const;
    static int screenWidth();
    static int screenHeight();

    bool isLoaded() const { return m_loaded; }
    // Loads the window if needed and shows it without waiting.
    void Show();
    // Loads the window if needed, shows it and returns once it is unloaded.
    void ShowModal();
    // Runs the unload step and hides the window; the object stays for the next showing.
    void Unload();

signals:
    void loaded();
    void unloaded();

protected:
    virtual void Form_Load() {}
    virtual void Form_Resize() {}
    virtual void Form_Unload() {}

    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void load();
    int menuPixels() const;
    int nonClientHeight() const { return kCaptionHeight + (m_hasMenu ? kMenuHeight : 0); }

    // The last rectangle set in twips; reading it back gives the same numbers as
    // long as the window has not moved or changed size since.
    int m_setLeft = -1, m_setTop = -1, m_setWidth = -1, m_setHeight = -1;

    AppState& m_app;
    QWidget* m_client;
    bool m_hasMenu;
    bool m_loaded = false;
    bool m_unloading = false;
};
