#include "base/fonts.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

void registerFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("MS UI Gothic"), QStringLiteral("IPAPGothic"));
    if (qApp) QApplication::setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
}

void installJapaneseTranslations() {
    auto* t = new QTranslator(qApp);
    if (t->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(t);
    else
        delete t;
}
