#include "console/jsession_command.h"

JSessionCommand parseSessionCommand(const QString& line) {
    QString l = line;
    while (l.endsWith(QLatin1Char('\n')) || l.endsWith(QLatin1Char('\r'))) l.chop(1);
    const qsizetype space = l.indexOf(QLatin1Char(' '));
    const QString verb = space < 0 ? l : l.left(space);
    const QString rest = space < 0 ? QString() : l.mid(space + 1);
    JSessionCommand c;
    if (verb == QStringLiteral("Quit") && rest.trimmed().isEmpty()) {
        c.kind = JSessionCommand::Kind::Quit;
    } else if (verb == QStringLiteral("Do")) {
        c.kind = JSessionCommand::Kind::Do;
        c.sentence = rest;
    } else if (verb == QStringLiteral("Show") || verb == QStringLiteral("Log")) {
        bool ok = false;
        c.number = rest.trimmed().toInt(&ok);
        if (ok)
            c.kind =
                verb == QStringLiteral("Show") ? JSessionCommand::Kind::Show : JSessionCommand::Kind::Log;
    }
    return c;
}
