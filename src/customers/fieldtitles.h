#pragma once

#include <QString>
#include <QStringList>

class QObject;
class QWidget;

// The fourteen customer fields. Field n (1..14) has the number 200000 + n,
// the customer column "Kesp" + number, and every window control of the field
// ends with that number.
constexpr int CustomerFieldCount = 14;
QString FieldNumberText(int field);
QString FieldColumnName(int field);
// The field number a window control belongs to: the last six characters of its name.
QString FieldNumberOf(const QObject* control);

// Entries "<number>=<title>", sorted by number: every field in FieldTitles,
// only the fields with a title in UsedFieldTitles. Refilled together by
// LoadFieldTitles and changed nowhere else.
extern QStringList FieldTitles;
extern QStringList UsedFieldTitles;

QString EntryNumber(const QString& entry);
QString EntryTitle(const QString& entry);
// The position of the entry for a field number, or -1.
int IndexOfFieldNumber(const QStringList& titles, const QString& number);

void LoadFieldTitles();
// Gives every label of the window (and, when editBoxes is set, every line
// edit) whose object name ends with a field number that field's title.
void ApplyFieldTitles(QWidget* window, bool editBoxes);

// Value lists: preset values kept per key (a field's column name, or "Alam").
void LoadValueList(const QString& key, QStringList& values);
// Replaces the key's list by the non-blank lines, in one transaction.
void SaveValueList(const QString& key, const QStringList& lines);

void EditValueList(const QString& key);
// 1 when the titles were saved.
int EditFieldTitles();
// 1 when the operator confirmed; *value then holds the text as typed.
int ShowInputBox(const QString& caption, const QString& prompt, const QString& defaultValue, QString* value);
