#pragma once

#include <QString>

#include "base/shipped_upgrade.h"

// The term table as shipped: an entry is named by its Chinese word (unique in
// every version; the IDs were renumbered between versions 1 and 2).
ShippedContent dictionaryContent();

// Brings the dictionary file of a data folder up to the shipped content, as
// start-up does. The message to show when it failed, else empty.
QString upgradeDictionaryFile(const QString& dataDir);
