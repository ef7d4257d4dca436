#pragma once

#include "common/basedialog.h"

#include <QString>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QWidget;
class TRadioGroup;
class TValueListBox;

// The reminder editor: the repeat kind, the time, the date (one-time), the
// weekdays (weekly) or the day of the month (monthly), a title with preset
// values and a content. OK checks the input, writes the values into the
// shared Alam object and stores them.
class TFormBaseAlam : public TFormBaseDlg
{
    Q_OBJECT
public:
    // 1 from the reminder page ("不提醒" is not offered), 0 from the customer
    // editor. The repeat code is the chosen item's index plus RepeatOffset.
    int RepeatOffset = 0;

protected:
    explicit TFormBaseAlam(QWidget* parent = nullptr);

    void FormShow() override;
    void btnOKClick() override;
    virtual void SaveAlam() = 0;

    // Raises Exception with the operator's message for the first check that fails.
    void CheckInput();
    // Puts the values of the controls into Alam, all but the customer.
    void WriteAlam();
    // Shows the values Alam holds.
    void ShowAlam();
    // The keyboard goes to the first input that is shown.
    void FocusFirstInput();

private:
    void createClockLine();
    QWidget* createTimePanel();
    QWidget* createWeekdayPanel();
    QWidget* createMonthDayPanel();
    int repeatCode() const;
    // The digits of the ticked weekdays, Monday first.
    QString weekdayDigits() const;
    void rd1Click();
    void tmr1Timer();

    QLabel* Label2;
    QLabel* LabNow;
    QLabel* LabLabWeeks;
    QLabel* LabRe;
    TRadioGroup* rd1;
    QWidget* pnlAlamTime;
    QLabel* Label1;
    QLineEdit* edtHour;
    QLabel* Label7;
    QLineEdit* edtMinute;
    QLabel* Label8;
    QLabel* LabDay;
    QDateEdit* DBDay;
    QWidget* pnlWork;
    QCheckBox* chkWeekdays[7];
    QWidget* pnlMon;
    QLabel* LabMonWord;
    QLineEdit* edtMonWeek;
    QLabel* LabModWordAlam;
    QLabel* Label5;
    TValueListBox* cbbTitle;
    QPushButton* btn200004;
    QLabel* Label4;
    QPlainTextEdit* mmoNote;
    QTimer* tmr1;
};

// "新建提醒": a reminder of the customer CustomerGUID, of nobody when empty.
class TFormAddAlam : public TFormBaseAlam
{
    Q_OBJECT
public:
    explicit TFormAddAlam(QWidget* parent = nullptr);

    QString CustomerGUID;

protected:
    void SaveAlam() override;
};

// "修改提醒": changes the reminder AlamId, whose values Alam holds when the
// window is shown.
class TFormModAlam : public TFormBaseAlam
{
    Q_OBJECT
public:
    explicit TFormModAlam(QWidget* parent = nullptr);

    QString AlamId;

protected:
    void FormShow() override;
    void SaveAlam() override;
};

// "星期日" to "星期六" for a date's weekday.
QString WeekdayName(const class QDate& date);

// The reminder editor, run modally. offset is 1 from the reminder page (the
// choice "不提醒" is not offered) and 0 from the customer editor. Both return
// 1 when a reminder was stored, 2 otherwise.
int ShowAddAlam(const QString& customerGuid, int offset);
int ShowModAlam(const QString& id, int offset);
