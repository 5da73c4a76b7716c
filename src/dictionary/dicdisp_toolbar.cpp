#include "dictionary/dicdisp_toolbar.h"

#include <QAction>
#include <QStyle>
#include <QToolBar>

#include "controls/toolbar_icons.h"

QToolBar* buildDicToolBar(QWidget* parent) {
    struct Button {
        const char* key;
        const char* tip;
        QStyle::StandardPixmap icon;  // SP_CustomBase: the drawn image named by image
        const char* image;
    };
    constexpr auto kDrawn = QStyle::SP_CustomBase;
    const Button buttons[] = {
        {"新規作成", "新規作成", QStyle::SP_FileIcon, nullptr},
        {"開く", "開く", QStyle::SP_DialogOpenButton, nullptr},
        {"上書き保存", "上書き保存", QStyle::SP_DialogSaveButton, nullptr},
        {nullptr, nullptr, kDrawn, nullptr},
        {"印刷", "印刷", kDrawn, "Print"},
        {nullptr, nullptr, kDrawn, nullptr},
        {"切り取り", "切り取り", QStyle::SP_DialogDiscardButton, nullptr},
        {"ｺﾋﾟｰ", "ｺﾋﾟｰ", QStyle::SP_FileDialogDetailedView, nullptr},
        {"貼り付け", "貼り付け", QStyle::SP_FileDialogContentsView, nullptr},
        {nullptr, nullptr, kDrawn, nullptr},
        {"太字", "太字", kDrawn, "Bold"},
        {"斜体", "斜体", kDrawn, "Italic"},
        {"下線", "下線", kDrawn, "Underline"},
        {nullptr, nullptr, kDrawn, nullptr},
        {"左揃え", "左揃え", kDrawn, "AlignLeft"},
        {"中央揃え", "中央揃え", kDrawn, "AlignCenter"},
        {"右揃え", "右揃え", kDrawn, "AlignRight"},
        {nullptr, nullptr, kDrawn, nullptr},
        {"DB編集", "データベース・編集/追加", kDrawn, "DBEdit"},
    };
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QStringLiteral("tbToolBar"));
    bar->setMovable(false);
    bar->setIconSize(QSize(16, 16));
    for (const Button& b : buttons) {
        if (!b.key) {
            bar->addSeparator();
            continue;
        }
        const QString key = QString::fromUtf8(b.key);
        const QIcon icon =
            b.icon == kDrawn ? toolbarIcon(QString::fromLatin1(b.image)) : bar->style()->standardIcon(b.icon);
        QAction* a = bar->addAction(icon, key);
        a->setObjectName(key);
        a->setToolTip(QString::fromUtf8(b.tip));
        a->setData(key);
    }
    return bar;
}
