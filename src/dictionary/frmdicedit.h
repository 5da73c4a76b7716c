#pragma once

#include "base/vb_form.h"

class QGroupBox;
class QListWidget;

// Stands for an editor of the term dictionary that is not built: it says so
// when it loads and then stays open, empty, until the user closes it.
class frmDicEdit : public VbForm {
    Q_OBJECT
public:
    frmDicEdit(AppState& app, QWidget* parent = nullptr);

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QListWidget* DataList1 = nullptr;

protected:
    void Form_Load() override;
};
