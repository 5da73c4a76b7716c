#pragma once

#include <QString>
#include <vector>

// Where the J engine is looked for: the folder holding bin/libj.so.
struct JHomeCandidate {
    QString folder;
    QString origin;  // what named it, for the error text
};

// KALVORET_J_HOME when set (then nothing else, so a wrong setting is reported instead
// of silently starting another J). Otherwise, in this order: the folder recorded when
// the build was configured, the J of the Python package jlanguage when python3 can
// import it (asked only when the build's folder holds no engine), and the folders
// where J's own installers put J 9.7.
std::vector<JHomeCandidate> jHomeCandidates();

// The J home inside the Python package jlanguage (module jlang), or "" when python3
// is missing or cannot import it.
QString pythonJHome();

// The folders J 9.7 is usually installed in on Linux.
QStringList usualJHomes();

// The libj.so inside a home folder; a home that is itself the bin folder is accepted too.
QString jLibraryPath(const QString& home);

// How to install the pinned J release, for error texts.
QString jInstallAdvice();
