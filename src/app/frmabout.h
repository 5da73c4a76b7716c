#pragma once

#include "base/vb_form.h"

class QLabel;
class QPushButton;
class QTimer;

// The about window: title, version, credits, a legal notice, a blinking icon and
// the system-information button.
class frmAbout : public VbForm {
    Q_OBJECT
public:
    frmAbout(AppState& app, QWidget* parent);

    QLabel* picIcon1 = nullptr;
    QLabel* PicIcon2 = nullptr;
    QTimer* Timer1 = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

    void Timer1_Timer();
    void cmdOK_Click() { Unload(); }
    void cmdSysInfo_Click();

    static constexpr int kMajor = 1;
    static constexpr int kMinor = 1;
    static constexpr int kRevision = 51;

protected:
    void Form_Load() override;
    void keyPressEvent(QKeyEvent* e) override;
};

inline const QString kAboutCaption = QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報 Kalvoret(jDLLserver for j601c)");
