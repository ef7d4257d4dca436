#pragma once

#include "common/basedialog.h"

class QLineEdit;

// Edits the titles of the fourteen customer fields. Closes with 1 once saved.
class TFormDIY : public TFormBaseDlg
{
    Q_OBJECT
public:
    explicit TFormDIY(QWidget* parent = nullptr);

protected:
    void FormShow() override;
    void btnOKClick() override;

private:
    QLineEdit* edt200001;
    QLineEdit* edt200002;
};
