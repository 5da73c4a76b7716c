#include "dictionary/frmdicedit.h"

#include <QGroupBox>
#include <QListWidget>

#include "base/app_state.h"

frmDicEdit::frmDicEdit(AppState& app, QWidget* parent) : VbForm(app, parent, false) {
    setObjectName(QStringLiteral("frmDicEdit"));
    setWindowTitle(QStringLiteral("KalvoretStatWord Dictionary"));
    QWidget* c = client();
    c->setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    Frame1 = new QGroupBox(c);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame2 = new QGroupBox(c);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    DataList1 = new QListWidget(Frame1);
    DataList1->setObjectName(QStringLiteral("DataList1"));
    DataList1->setAccessibleName(QStringLiteral("辞書データ"));
    placeTwips(Frame1, 120, 120, 3000, 4200);
    placeTwips(DataList1, 120, 240, 2760, 3840);
    placeTwips(Frame2, 3240, 120, 3480, 4200);
    setSize(6960 + kNonClientWidth, 4440 + kCaptionHeight);
}

void frmDicEdit::Form_Load() {
    centreOnScreen();
    app().msgBox().MsgBox(QStringLiteral("この機能は現在作成中です。間もなく公開の予定はありません！"),
                          mb::OKOnly | mb::Exclamation);
}
