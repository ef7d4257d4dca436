#pragma once

#include "common/basedialog.h"

class QLabel;
class QPushButton;
class QTabWidget;

// Backs the local database file up, restores it from a backup, and clears the
// business data so the system starts afresh.
class TFormDataMgr : public TFormDialog
{
    Q_OBJECT
public:
    explicit TFormDataMgr(QWidget* parent = nullptr);

private:
    void btnSaveClick();
    void btnAddClick();
    void Button1Click();

    QTabWidget* pgc1;
    QWidget* ts1;
    QWidget* ts2;
    QWidget* ts3;
    QPushButton* btnSave;
    QPushButton* btnAdd;
    QLabel* Label1;
    QPushButton* Button1;
};

void ShowDataMaintenance();

// The copy of the database that restoring and clearing make first.
QString SafetyCopyFileName();
