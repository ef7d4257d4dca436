#pragma once

#include "operators/loginoper.h"

#include <QDate>
#include <QString>
#include <QStringList>

class QDialog;
class QTreeWidget;

// One reminder as a test stores it, straight into Alam.
struct AlamRow
{
    int reDay;
    QDate date;
    int hour;
    int minute;
    int monWeek;
    QString title;
    QString customer = QString();
    QString oper = AdminName;
    bool seen = false;
};

// Inserts the row; returns its ID.
QString InsertAlam(const AlamRow& row);
// How many reminders the table holds for this customer.
int AlamCount(const QString& customer);
// The texts of one column of a reminder list, top to bottom.
QStringList ListColumn(const QTreeWidget* view, int column);

// In the reminder editor: chooses the repeat kind by its caption and types
// the time and the title.
void FillAlamEditor(QDialog* editor, const QString& repeat, int hour, int minute, const QString& title);
