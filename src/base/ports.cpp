#include "base/ports.h"

#include <cmath>

double ISettings::GetNumber(const QString& section, const QString& key, double defaultValue) {
    bool ok = false;
    const double v = GetSetting(section, key, QString()).trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? v : defaultValue;
}
