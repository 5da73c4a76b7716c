#pragma once

#include <QString>
#include <vector>

// Where the J engine is looked for: the folder holding bin/libj.so.
struct JHomeCandidate {
    QString folder;
    QString origin;  // what named it, for the error text
};

// KALVORET_J_HOME when set (then nothing else, so a wrong setting is reported instead
// of silently starting another J), else the folder recorded when the build was configured.
std::vector<JHomeCandidate> jHomeCandidates();

// The libj.so inside a home folder; a home that is itself the bin folder is accepted too.
QString jLibraryPath(const QString& home);

// How to install the pinned J release, for error texts.
QString jInstallAdvice();
