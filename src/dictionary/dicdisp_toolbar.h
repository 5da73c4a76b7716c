#pragma once

class QToolBar;
class QWidget;

// The dictionary window's tool bar, tbToolBar: its buttons in order, each
// action named by its key (the caption the window dispatches on) and carrying
// its tool tip.
QToolBar* buildDicToolBar(QWidget* parent);
