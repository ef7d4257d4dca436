#include "fieldtitles.h"

#include "data/dbaccess.h"
#include "fieldtitleswindow.h"
#include "inputboxwindow.h"
#include "valuelistwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

QStringList FieldTitles;
QStringList UsedFieldTitles;

namespace {

const QLatin1Char EntrySeparator('=');

} // namespace

QString FieldNumberText(int field)
{
    return QString::number(200000 + field);
}

QString FieldColumnName(int field)
{
    return QStringLiteral("Kesp") + FieldNumberText(field);
}

QString FieldNumberOf(const QObject* control)
{
    return control->objectName().right(6);
}

QString EntryNumber(const QString& entry)
{
    return entry.section(EntrySeparator, 0, 0);
}

QString EntryTitle(const QString& entry)
{
    return entry.section(EntrySeparator, 1);
}

int IndexOfFieldNumber(const QStringList& titles, const QString& number)
{
    for (int i = 0; i < titles.size(); ++i) {
        if (EntryNumber(titles.at(i)) == number)
            return i;
    }
    return -1;
}

void LoadFieldTitles()
{
    FieldTitles.clear();
    UsedFieldTitles.clear();
    DbAccess->OpenQuery(QStringLiteral("select DIYID,DIYName from DIY"));
    for (TResultSet& data = DbAccess->QueryData; !data.Eof(); data.Next()) {
        const QString title = data.Fields(1).AsString();
        const QString entry = data.Fields(0).AsString() + EntrySeparator + title;
        FieldTitles.append(entry);
        if (!title.isEmpty())
            UsedFieldTitles.append(entry);
    }
    FieldTitles.sort();
    UsedFieldTitles.sort();
}

void ApplyFieldTitles(QWidget* window, bool editBoxes)
{
    LoadFieldTitles();
    for (QObject* component : window->findChildren<QObject*>()) {
        auto* label = qobject_cast<QLabel*>(component);
        auto* edit = editBoxes ? qobject_cast<QLineEdit*>(component) : nullptr;
        if (!label && !edit)
            continue;
        const int index = IndexOfFieldNumber(FieldTitles, FieldNumberOf(component));
        if (index < 0)
            continue;
        const QString title = EntryTitle(FieldTitles.at(index));
        if (label)
            label->setText(title);
        else
            edit->setText(title);
    }
}

void LoadValueList(const QString& key, QStringList& values)
{
    FillStrings(QStringLiteral("select Remark from DiyRemark where DiyText = '%1' ").arg(SqlEscape(key)),
                QStringLiteral("Remark"), values);
}

void SaveValueList(const QString& key, const QStringList& lines)
{
    const QString escapedKey = SqlEscape(key);
    QStringList batch{QStringLiteral("delete from DiyRemark where diyText='%1' ").arg(escapedKey)};
    for (const QString& line : lines) {
        if (!line.trimmed().isEmpty())
            batch.append(QStringLiteral("insert into DiyRemark(DiyText,Remark) values('%1','%2') ")
                             .arg(escapedKey, SqlEscape(line)));
    }
    DbExecute(batch.join(QStringLiteral("@#@")));
}

void EditValueList(const QString& key)
{
    TFormDiyInput form(key);
    form.exec();
}

int EditFieldTitles()
{
    TFormDIY form;
    return form.exec();
}

int ShowInputBox(const QString& caption, const QString& prompt, const QString& defaultValue, QString* value)
{
    TFormInPutBox form;
    form.setWindowTitle(caption);
    form.SetPrompt(prompt);
    form.SetValue(defaultValue);
    const int result = form.exec();
    if (result == TFormBaseDlg::ResultOK)
        *value = form.Value();
    return result;
}
