#pragma once

#include "engine/host_value.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// What a J noun becomes as a host value (its type code and extents, and for a string its
// number of characters), told from J's type and shape alone, so that listing nouns costs
// nothing in proportion to their data.
struct NounInfo {
    int type = vt::Empty;            // host value type code, vt::Array added for arrays
    std::vector<std::int64_t> dims;  // extents; empty for a scalar or a string
    std::int64_t chars = 0;          // characters of a string scalar
    bool needsValue = false;         // only the value itself tells (atoms, odd text)
};

// A sentence that sets `target` to J's description of every noun named in the boxed list
// `names` (both J expressions evaluated in base): per noun its J type, rank, shape and one
// more number, all run together in one integer list.
QByteArray nounInfoSentence(const QByteArray& target, const QByteArray& names);

// Splits what that sentence made into one entry per name; nullopt when it does not fit
// the names (a list that changed under it, or not a list of integers).
std::optional<std::vector<NounInfo>> parseNounInfo(const HostValue& described, std::size_t names);

// What a value read in full says about itself, in the same terms.
NounInfo nounInfoOf(const HostValue& v);
