#include "app/frmabout.h"

#include "app/sys_info.h"
#include "base/app_state.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

namespace {

// The two frames of the icon: a J on a blue tile, and the same with the colours swapped.
QPixmap iconFrame(bool lit) {
    QPixmap pm(87, 33);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blue(0, 64, 160), gold(255, 208, 64);
    p.setBrush(lit ? blue : gold);
    p.setPen(QPen(lit ? gold : blue, 2));
    p.drawRoundedRect(QRectF(1, 1, 31, 31), 6, 6);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(22);
    p.setFont(f);
    p.setPen(lit ? gold : blue);
    p.drawText(QRect(1, 1, 31, 31), Qt::AlignCenter, QStringLiteral("J"));
    f.setPixelSize(13);
    p.setFont(f);
    p.setPen(blue);
    p.drawText(QRect(36, 1, 51, 31), Qt::AlignVCenter | Qt::AlignLeft,
               lit ? QStringLiteral("DLL") : QStringLiteral("EXE"));
    return pm;
}

QLabel* label(QWidget* parent, const QString& name, int l, int t, int w, int h) {
    auto* lb = new QLabel(parent);
    lb->setObjectName(name);
    lb->setWordWrap(true);
    lb->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeTwips(lb, l, t, w, h);
    return lb;
}

}  // namespace

frmAbout::frmAbout(AppState& app, QWidget* parent) : VbForm(app, parent, false) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(kAboutCaption);
    QWidget* c = client();

    picIcon1 = label(c, QStringLiteral("picIcon1"), 120, 240, 1305, 495);
    picIcon1->setPixmap(iconFrame(true));
    picIcon1->setAccessibleName(QStringLiteral("アイコン"));
    PicIcon2 = label(c, QStringLiteral("PicIcon2"), 120, 240, 1305, 495);
    PicIcon2->setPixmap(iconFrame(false));
    PicIcon2->setAccessibleName(QStringLiteral("アイコン"));
    PicIcon2->hide();

    lblTitle = label(c, QStringLiteral("lblTitle"), 1560, 240, 4095, 600);
    lblTitle->setText(QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ"));
    lblTitle->setStyleSheet(QStringLiteral("color: #0000ff;"));
    lblVersion = label(c, QStringLiteral("lblVersion"), 1560, 960, 3975, 225);
    lblVersion->setText(QStringLiteral("ﾊﾞｰｼﾞｮﾝ"));
    lblDescription = label(c, QStringLiteral("lblDescription"), 1560, 1320, 4095, 975);
    lblDisclaimer = label(c, QStringLiteral("lblDisclaimer"), 255, 2625, 3870, 945);
    lblDisclaimer->setStyleSheet(QStringLiteral("color: #000000;"));

    // Two lines together make an etched rule.
    auto* grey = new QFrame(c);
    grey->setObjectName(QStringLiteral("Line1"));
    grey->setStyleSheet(QStringLiteral("background: #808080;"));
    grey->setGeometry(twipsToPixels(225), twipsToPixels(2430), twipsToPixels(5657 - 225), 1);
    auto* white = new QFrame(c);
    white->setObjectName(QStringLiteral("Line2"));
    white->setStyleSheet(QStringLiteral("background: #ffffff;"));
    white->setGeometry(twipsToPixels(240), twipsToPixels(2445), twipsToPixels(5657 - 240), 2);

    cmdOK = new QPushButton(QStringLiteral("OK"), c);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    placeTwips(cmdOK, 4245, 2625, 1467, 345);
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), c);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAccessibleName(QStringLiteral("ｼｽﾃﾑ情報"));
    placeTwips(cmdSysInfo, 4260, 3075, 1452, 345);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &frmAbout::Timer1_Timer);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    connect(this, &VbForm::unloaded, Timer1, &QTimer::stop);

    setSize(5865 + kNonClientWidth, 3660 + kCaptionHeight);
    setFixedSize(size());
}

void frmAbout::Form_Load() {
    Timer1->setInterval(500);
    Timer1->start();
    lblVersion->setText(QStringLiteral("V%1.%2.%3").arg(kMajor).arg(kMinor).arg(kRevision));
    lblTitle->setText(
        kAppTitle +
        QStringLiteral(" [jDLLserver for j601c]\r\rＪDLL および Ｊ言語のための外部入出力プロセッサ")
            .replace(QLatin1Char('\r'), QLatin1Char('\n')));
    lblDescription->setText(
        QStringLiteral("計算は Jsoftware Inc. の J エンジンによります。\n\n"
                       "jDLLserver Jsoftware Inc.\n\njEXEserver Jsoftware Inc."));
    lblDisclaimer->setText(
        QStringLiteral("本ソフトウェアは現状のまま提供され、\n"
                       "動作と結果についていかなる保証もありません。\n"
                       "J は Jsoftware Inc. の製品です。"));
    for (QLabel* l : {lblTitle, lblVersion, lblDescription, lblDisclaimer}) l->setAccessibleName(l->text());
    centreOnScreen();
}

void frmAbout::Timer1_Timer() {
    const bool first = !picIcon1->isHidden();
    picIcon1->setVisible(!first);
    PicIcon2->setVisible(first);
}

void frmAbout::cmdSysInfo_Click() { StartSysInfo(app()); }

void frmAbout::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        cmdOK_Click();
        return;
    }
    VbForm::keyPressEvent(e);
}
