#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTabWidget;

// Backs the local database file up, restores it from a backup, and clears the
// business data so the system starts afresh.
class TFormDataMgr : public QDialog
{
    Q_OBJECT
public:
    explicit TFormDataMgr(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

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
    bool m_positioned = false;
};

void ShowDataMaintenance();

// The copy of the database that restoring and clearing make first.
QString SafetyCopyFileName();
