#pragma once

#include <QStringList>
#include <QWidget>

#include "base/vb_units.h"

class QTabBar;

// Tabs over a framed client area. The pages are separate widgets laid over the
// client area by the window; the strip only says which tab is chosen. Tabs count
// from 1.
class TabStrip : public QWidget {
    Q_OBJECT
public:
    explicit TabStrip(QWidget* parent = nullptr);

    void addTab(const QString& caption);
    int count() const;
    QString caption(int index) const;
    int SelectedIndex() const;
    // Selecting a tab raises Click, as a user's choice does.
    void setSelectedIndex(int index);

    // The area inside the tabs and the border, in the parent's twips.
    int ClientLeft() const;
    int ClientTop() const;
    int ClientWidth() const;
    int ClientHeight() const;
    TwipsRect clientRect() const { return {ClientLeft(), ClientTop(), ClientWidth(), ClientHeight()}; }

    QTabBar* tabBar() const { return m_bar; }

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    int topInset() const;

    QTabBar* m_bar;
};
