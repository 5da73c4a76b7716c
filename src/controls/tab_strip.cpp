#include "controls/tab_strip.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace {
// Space around the client area, in pixels: 120 twips at the sides and bottom,
// at least 360 twips at the top where the tabs are.
constexpr int kSide = 8;
constexpr int kMinTop = 24;
}  // namespace

int TabStrip::topInset() const { return std::max(kMinTop, m_bar->sizeHint().height() + 2); }

TabStrip::TabStrip(QWidget* parent) : QWidget(parent), m_bar(new QTabBar(this)) {
    m_bar->setDrawBase(false);
    m_bar->setExpanding(false);
    connect(m_bar, &QTabBar::currentChanged, this, [this](int) { emit Click(); });
}

void TabStrip::addTab(const QString& caption) {
    const QSignalBlocker block(m_bar);
    m_bar->addTab(caption);
    m_bar->adjustSize();
}

int TabStrip::count() const { return m_bar->count(); }

QString TabStrip::caption(int index) const { return m_bar->tabText(index - 1); }

int TabStrip::SelectedIndex() const { return m_bar->currentIndex() + 1; }

void TabStrip::setSelectedIndex(int index) {
    if (index < 1 || index > count()) return;
    if (m_bar->currentIndex() == index - 1)
        emit Click();
    else
        m_bar->setCurrentIndex(index - 1);
}

int TabStrip::ClientLeft() const { return pixelsToTwips(x() + kSide); }

int TabStrip::ClientTop() const { return pixelsToTwips(y() + topInset()); }

int TabStrip::ClientWidth() const { return pixelsToTwips(std::max(0, width() - 2 * kSide)); }

int TabStrip::ClientHeight() const { return pixelsToTwips(std::max(0, height() - topInset() - kSide)); }

void TabStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QStyleOptionTabWidgetFrame opt;
    opt.initFrom(this);
    opt.rect = QRect(0, m_bar->sizeHint().height() - 1, width(), height() - m_bar->sizeHint().height() + 1);
    opt.tabBarSize = m_bar->sizeHint();
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &opt, &p, this);
}

void TabStrip::resizeEvent(QResizeEvent*) {
    m_bar->setGeometry(0, 0, std::min(width(), m_bar->sizeHint().width()), m_bar->sizeHint().height());
}
