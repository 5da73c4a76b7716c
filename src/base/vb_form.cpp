#include "base/vb_form.h"

#include "base/app_state.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

#include <algorithm>

VbForm::VbForm(AppState& app, QWidget* parent, bool hasMenuBar)
    : QMainWindow(parent), m_app(app), m_client(new QWidget(this)), m_hasMenu(hasMenuBar) {
    setCentralWidget(m_client);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

int VbForm::menuPixels() const {
    if (!m_hasMenu) return 0;
    return menuWidget() ? menuWidget()->sizeHint().height() : 0;
}

int VbForm::Left() const {
    const int px = pos().x();
    return px == twipsToPixels(m_setLeft) ? m_setLeft : pixelsToTwips(px);
}

int VbForm::Top() const {
    const int px = pos().y();
    return px == twipsToPixels(m_setTop) ? m_setTop : pixelsToTwips(px);
}

int VbForm::Width() const {
    const int px = m_client->width();
    return px == twipsToPixels(m_setWidth - kNonClientWidth) ? m_setWidth
                                                             : pixelsToTwips(px) + kNonClientWidth;
}

int VbForm::Height() const {
    const int px = m_client->height();
    return px == twipsToPixels(m_setHeight - nonClientHeight()) ? m_setHeight
                                                                : pixelsToTwips(px) + nonClientHeight();
}

void VbForm::Move(int left, int top, int width, int height) {
    m_setLeft = left;
    m_setTop = top;
    move(twipsToPixels(left), twipsToPixels(top));
    setSize(width, height);
}

void VbForm::setSize(int width, int height) {
    m_setWidth = width;
    m_setHeight = height;
    const int w = std::max(1, twipsToPixels(width - kNonClientWidth));
    const int h = std::max(1, twipsToPixels(height - nonClientHeight()));
    resize(w, h + menuPixels());
    // The client follows at once even before the window is shown.
    m_client->resize(w, h);
}

int VbForm::WindowState() const {
    if (isMinimized()) return 1;
    if (isMaximized()) return 2;
    return 0;
}

int VbForm::screenWidth() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? pixelsToTwips(s->geometry().width()) : 0;
}

int VbForm::screenHeight() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? pixelsToTwips(s->geometry().height()) : 0;
}

void VbForm::centreOnScreen() {
    m_setLeft = (screenWidth() - Width()) / 2;
    m_setTop = (screenHeight() - Height()) / 2;
    move(twipsToPixels(m_setLeft), twipsToPixels(m_setTop));
}

namespace {
const QString kSettingsSection = QStringLiteral("Settings");
}

void VbForm::restoreRect(const RectKeys& keys, const TwipsRect& defaults) {
    ISettings& s = m_app.settings();
    auto twips = [&s](const QString& key, int fallback) {
        return static_cast<int>(std::clamp(s.GetNumber(kSettingsSection, key, fallback), -1.0e6, 1.0e6));
    };
    Move(twips(keys.left, defaults.left), twips(keys.top, defaults.top), twips(keys.width, defaults.width),
         twips(keys.height, defaults.height));
}

void VbForm::saveRect(const RectKeys& keys) const {
    if (WindowState() == 1) return;
    ISettings& s = m_app.settings();
    s.SaveSetting(kSettingsSection, keys.left, QString::number(Left()));
    s.SaveSetting(kSettingsSection, keys.top, QString::number(Top()));
    s.SaveSetting(kSettingsSection, keys.width, QString::number(Width()));
    s.SaveSetting(kSettingsSection, keys.height, QString::number(Height()));
}

void VbForm::load() {
    if (m_loaded) return;
    m_loaded = true;
    m_app.formLoaded(this);
    Form_Load();
    emit loaded();
}

void VbForm::Show() {
    load();
    if (!m_loaded) return;  // the load step may unload at once
    show();
    raise();
    activateWindow();
}

void VbForm::ShowModal() {
    load();
    if (!m_loaded) return;
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    connect(this, &VbForm::unloaded, &loop, &QEventLoop::quit);
    if (m_loaded) loop.exec();
    setWindowModality(Qt::NonModal);
}

void VbForm::Unload() {
    if (!m_loaded || m_unloading) return;
    m_unloading = true;
    Form_Unload();
    hide();
    m_loaded = false;
    m_unloading = false;
    m_app.formUnloaded(this);
    emit unloaded();
}

void VbForm::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (m_loaded) Form_Resize();
}

void VbForm::closeEvent(QCloseEvent* e) {
    Unload();
    e->accept();
}
