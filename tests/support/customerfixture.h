#pragma once

#include "testdatabase.h"

#include <QMap>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class QDialog;
class QLineEdit;
class QWidget;
class TKespStringGrid;

// A fresh database with the domain globals (categories, customers, reminders,
// the logged-in operator "Admin") and empty field-title lists.
class CustomerFixture
{
public:
    CustomerFixture();
    ~CustomerFixture();

    TestDatabase db;

    // Gives field n the title titles[n]; every other field gets none.
    void setTitles(const QMap<int, QString>& titles);
    int addCategory(const QString& name);
    // Inserts a customer through TCustomer: fields[n] is field n, the rest stay empty.
    QString addCustomer(int typeID, const QMap<int, QString>& fields);
    // Makes storing `value` into table.column fail, the way each engine can.
    void rejectValue(const QString& table, const QString& column, const QString& value);
    // Every row of a query, each as its column texts.
    static QList<QStringList> rows(const QString& sql);
};

// Gives every test function a fresh fixture and no leftover message boxes;
// skips the function when the engine's database is missing.
class CustomerTestCase : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<CustomerFixture> fixture;

private slots:
    void init();
    void cleanup();
};

// Rows of a QTest table with the one column "text": texts that SQL, batch
// splitting, format markers, encodings or input limits could spoil.
void AddHostileTextRows();

// The message boxes shown since the last call, as (caption, text).
using Shown = QList<QPair<QString, QString>>;
Shown takeShown();

// Runs drive on the dialog that the next exec() shows (see OnNextModal), once
// it is the active window; closes the dialog with the cancel result if drive
// left it open.
void DriveNextModal(std::function<void(QDialog*)> drive);
// Types text into a widget the way an input method delivers it.
void TypeText(QWidget* widget, const QString& text);
// Empties the edit box, then types text into it.
void ReplaceText(QLineEdit* edit, const QString& text);
// Clicks the dialog's OK button.
void ClickOK(QWidget* dialog);
// The texts of one grid column from firstRow down.
QStringList GridColumn(const TKespStringGrid& grid, int col, int firstRow = 1);
