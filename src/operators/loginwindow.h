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
    void showEvent(QShowEvent* event) override;
    void btnOKClick() override;

private:
    void FormShow();

    QComboBox* cbbUserID;
    QLineEdit* edtPass;
    QLabel* LabLogin;
    QPushButton* btnServer;
    bool m_shown = false;
};

// 1 after a successful login, 2 when the operator gave up.
int ShowLogin();
