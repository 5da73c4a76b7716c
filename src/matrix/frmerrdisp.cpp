#include "matrix/frmerrdisp.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

frmErrDisp::frmErrDisp(AppState& app, QWidget* parent) : VbForm(app, parent, false) {
    setObjectName(QStringLiteral("frmErrDisp"));
    setWindowTitle(QStringLiteral("Kalvoret Error Check"));
    QWidget* c = client();

    Label1 = new QLabel(QStringLiteral("ユーザ定義数値データ・エラーチェック"), c);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("エラーがあるためデータは登録できません。"), c);
    Label2->setObjectName(QStringLiteral("Label2"));
    List1 = new QListWidget(c);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setAccessibleName(QStringLiteral("データーエラー一覧"));
    List1->setUniformItemSizes(true);  // keeps a long list quick to lay out
    Command1 = new QPushButton(QStringLiteral("終了"), c);
    Command1->setObjectName(QStringLiteral("Command1"));

    placeTwips(Label1, 120, 120, 2925, 180);
    placeTwips(Label2, 480, 480, 3330, 180);
    placeTwips(List1, 120, 720, 6615, 3120);
    placeTwips(Command1, 5400, 3960, 1335, 375);
    // The labels' designed heights are one text line; let a taller font still fit.
    for (QLabel* l : {Label1, Label2})
        l->resize(std::max(l->width(), l->sizeHint().width()), std::max(l->height(), l->sizeHint().height()));

    setSize(6885 + kNonClientWidth, 4425 + kCaptionHeight);
    fixSize();
    connect(Command1, &QPushButton::clicked, this, &frmErrDisp::Command1_Click);
}

void frmErrDisp::addLines(const QStringList& lines) { List1->addItems(lines); }

QStringList frmErrDisp::lines() const {
    QStringList out;
    out.reserve(List1->count());
    for (int i = 0; i < List1->count(); ++i) out.append(List1->item(i)->text());
    return out;
}

void frmErrDisp::Command1_Click() { Unload(); }

void frmErrDisp::Form_Load() {
    // Over the main window the user was working in, or mid-screen without one.
    const QWidget* owner = parentWidget();
    if (owner && owner->isVisible()) {
        const QRect o = owner->frameGeometry();
        move(o.x() + (o.width() - frameGeometry().width()) / 2,
             o.y() + (o.height() - frameGeometry().height()) / 2);
    } else {
        centreOnScreen();
    }
}

void frmErrDisp::Form_Unload() { List1->clear(); }
