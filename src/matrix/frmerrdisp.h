#pragma once

#include "base/vb_form.h"

#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;

// The data error window: the lines of one checking run, shown modally over the
// main window. Unloading it discards the lines, so each showing holds only the
// run that opened it.
class frmErrDisp : public VbForm {
    Q_OBJECT
public:
    frmErrDisp(AppState& app, QWidget* parent);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QListWidget* List1 = nullptr;
    QPushButton* Command1 = nullptr;

    void addLines(const QStringList& lines);
    QStringList lines() const;

    void Command1_Click();

protected:
    void Form_Load() override;
    void Form_Unload() override;
};
