#pragma once

#include "common/basedialog.h"
#include "fieldtitles.h"

class QComboBox;
class QLabel;
class QLineEdit;
class TAlamListView;

// The customer editor: the category and the used fields under their titles,
// with each field's value list in its drop-down. Fields without a title are
// hidden but still saved, so a modified customer keeps their stored values.
// The second tab holds the customer's reminders, stored at once under
// CustomerGuid whether or not the customer is saved afterwards.
class TFormBaseCustomer : public TFormBaseDlg
{
    Q_OBJECT
public:
    // The key of the customer being edited.
    QString CustomerGuid;

protected:
    explicit TFormBaseCustomer(QWidget* parent = nullptr);

    void btnOKClick() override;

    void FormShow() override;
    virtual void SaveCustomer() = 0;

    // True when the customer can be told apart by field 1 or 2; otherwise
    // tells the operator which field to fill.
    bool CheckNames();
    // Puts the category and all fourteen fields, hidden ones included, into
    // the shared customer object.
    void WriteCustomer();
    // Lists the reminders stored under CustomerGuid.
    void FillAlamList();

    QComboBox* cbbUserType;
    // Field n's input: edt200001, edt200002, then cbb200003 to cbb200014.
    QString FieldText(int field) const;
    void SetFieldText(int field, const QString& text);

private:
    void createBasicPage(QWidget* page);
    void createAlamPage(QWidget* page);
    void hideUnusedFields(QWidget* page);
    void btnValueListClick(int field);
    void btnAddClick();
    void btnModClick();
    void btnDelClick();

    QLabel* LabGou;
    QLabel* Lab200001;
    QLabel* Lab200002;
    QLineEdit* edt200001;
    QLineEdit* edt200002;
    QComboBox* m_fieldBoxes[CustomerFieldCount - 2];
    TAlamListView* lv1;
};

// "新建客户信息": a new customer under a key made when the window opens.
class TFormAddCustomer : public TFormBaseCustomer
{
    Q_OBJECT
public:
    explicit TFormAddCustomer(QWidget* parent = nullptr);

protected:
    void FormShow() override;
    void SaveCustomer() override;
};

// "修改客户信息": changes the customer CustomerGuid names.
class TFormModCustomer : public TFormBaseCustomer
{
    Q_OBJECT
public:
    explicit TFormModCustomer(QWidget* parent = nullptr);

protected:
    void FormShow() override;
    void SaveCustomer() override;
};

// 1 when a customer was saved; *guid then holds its key.
int ShowAddCustomer(QString* guid);
// 1 when the customer was saved.
int ShowModCustomer(const QString& guid);
