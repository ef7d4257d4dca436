#pragma once

#include "common/basedialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Edits how the program reaches its PostgreSQL server: the [Database] section
// of Config.ini. The settings apply from the next start.
class TFormServer : public TFormDialog
{
    Q_OBJECT
public:
    explicit TFormServer(QWidget* parent = nullptr);

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow() override;
    void RadioButton1Click();
    void RadioButton2Click();
    void CWWWClick();
    void BitBtnOKClick();

    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QLineEdit* EditUser;
    QLineEdit* EditPwd;
    QCheckBox* CWWW;
    QLabel* LabWWW;
    QLineEdit* EditServer;
    QLineEdit* EditDB;
    QPushButton* BitBtnOK;
    QPushButton* BitBtnCancel;
};

// Shows the window modally; 1 after saving, 2 after cancelling.
int ShowServerSettings();
