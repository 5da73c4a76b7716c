#include "app/fonts.h"

#include <QApplication>
#include <QFont>

void registerFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("MS UI Gothic"), QStringLiteral("IPAPGothic"));
    if (qApp) QApplication::setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
}
