#pragma once

#include "common/basedialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Chooses the operator account and checks its password before the main
// window opens.
class TFormLogin : public TFormBaseDlg
{
    Q_OBJECT
public:
    explicit TFormLogin(QWidget* parent = nullptr);

protected:
    void btnOKClick() override;

private:
    void FormShow() override;

    QComboBox* cbbUserID;
    QLineEdit* edtPass;
    QLabel* LabLogin;
    QPushButton* btnServer;
};

// 1 after a successful login, 2 when the operator gave up.
int ShowLogin();
