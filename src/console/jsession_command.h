#pragma once

#include <QString>

// One line on the J session's standard input.
struct JSessionCommand {
    enum class Kind { Quit, Do, Show, Log, Invalid };
    Kind kind = Kind::Invalid;
    QString sentence;  // Do
    int number = 0;    // Show, Log
};

JSessionCommand parseSessionCommand(const QString& line);
