#pragma once

#include "common/basedialog.h"

#include <memory>

class QLineEdit;
class TKespCheckTreeView;
class TOper;

// The family of windows that edit one operator account: name, password typed
// twice, remark and the rights as a check-box tree built from the Rules table.
class TFormBaseOper : public TFormBaseDlg
{
    Q_OBJECT
public:
    explicit TFormBaseOper(QWidget* parent = nullptr);
    ~TFormBaseOper() override;

protected:
    void btnOKClick() override;

    // Runs once, when the window is first shown.
    void FormShow() override = 0;
    // Stores EditOper once the input has been checked and copied into it.
    virtual void SaveOper() = 0;

    // One node per Rules row, every node with an unchecked box.
    void FillRightsTree();
    // Raises the message for the operator when the input cannot be saved.
    void CheckOperInput() const;

    QLineEdit* edtName;
    QLineEdit* edtNewPass;
    QLineEdit* edtPass;
    QLineEdit* edtRemark;
    TKespCheckTreeView* tv1;
    std::unique_ptr<TOper> EditOper;

private:
};

class TFormAddOper : public TFormBaseOper
{
    Q_OBJECT
public:
    explicit TFormAddOper(QWidget* parent = nullptr);

protected:
    void FormShow() override;
    void SaveOper() override;
};

// Edits an existing account; its name cannot be changed and Admin's rights
// can be seen but not edited.
class TFormModOper : public TFormBaseOper
{
    Q_OBJECT
public:
    explicit TFormModOper(const QString& name, QWidget* parent = nullptr);

protected:
    void FormShow() override;
    void SaveOper() override;
};

// 1 after the account was saved, 2 after cancelling.
int ShowAddOper();
int ShowModOper(const QString& name);
