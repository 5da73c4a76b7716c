#pragma once

// The Japanese Windows font names the windows ask for, mapped to the IPA fonts,
// and the program's default font ("ＭＳ Ｐゴシック" 9 pt), which the window
// layouts were drawn for.
void registerFontSubstitutions();
