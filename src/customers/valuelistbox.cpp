#include "valuelistbox.h"

#include "fieldtitles.h"

#include <QLineEdit>

#include <limits>

TValueListBox::TValueListBox(const QString& key, QWidget* parent)
    : QComboBox(parent)
    , m_key(key)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->setMaxLength(std::numeric_limits<int>::max());
}

void TValueListBox::showPopup()
{
    const QString typed = currentText();
    QStringList values;
    LoadValueList(m_key, values);
    clear();
    addItems(values);
    // Opening the list changes nothing the operator typed.
    setCurrentIndex(findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive));
    setEditText(typed);
    QComboBox::showPopup();
}
