#pragma once

// The Japanese Windows font names the windows ask for, mapped to the IPA fonts.
void registerFontSubstitutions();
