#pragma once

#include <QIcon>
#include <QString>

// Toolbar images by their key: "New", "Open", "Save", "Print", "Cut", "Copy",
// "Paste", "SetMtx", "ResetMtx", "Bold", "Italic", "Underline", "AlignLeft",
// "AlignCenter", "AlignRight", "DBEdit", "Break". Drawn at run time, so they look the
// same on every desktop. An unknown key gives an empty icon.
QIcon toolbarIcon(const QString& imageKey);
