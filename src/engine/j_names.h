#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The name handed to the engine for a name a window gives: blanks around it are
// dropped, a plain name is addressed in the base locale (J_A -> J_A_base_) so a user
// sentence that changed the current locale cannot redirect it, and a locative
// (a_z_, a__b) is kept as written. nullopt for an ill-formed name.
std::optional<QByteArray> baseQualifiedName(const QString& name);
