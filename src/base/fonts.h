#pragma once

#include <QString>

// Pinyin is shown in DejaVu Sans (Debian fonts-dejavu-core), whose tone-marked
// vowels are designed glyphs; the IPA fonts draw the third tone as a flat bar.
inline QString pinyinFontFamily() { return QStringLiteral("DejaVu Sans"); }

// The Japanese Windows font names the windows ask for, mapped to the IPA fonts,
// and the program's default font ("ＭＳ Ｐゴシック" 9 pt), which the window
// layouts were drawn for.
void registerFontSubstitutions();

// Qt's own dialogs (file dialogs, message box buttons) in Japanese, when Qt's
// translations are installed.
void installJapaneseTranslations();
