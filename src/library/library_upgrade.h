#pragma once

#include <QString>

#include "base/shipped_upgrade.h"

// The expression table as shipped: an entry is named by its category and its name; an
// expression keeps its number within the category unless a row of the user's holds it.
ShippedContent libraryContent();

// Brings the library file of a data folder up to the shipped content, as start-up does.
// The message to show when it failed, else empty.
QString upgradeLibraryFile(const QString& dataDir);
