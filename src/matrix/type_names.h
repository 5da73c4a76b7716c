#pragma once

#include <QString>

struct FixedMatrixState;

// Japanese display names of value type codes; arrays (code + 8192) get the
// prefix "配列, ". Codes without a name give the prefix alone.
QString TypeNameShort(int typeCode);
QString TypeNameLong(int typeCode);
// The long name of the current fixed matrix's values.
QString TypeNameLong(const FixedMatrixState& fixed);
