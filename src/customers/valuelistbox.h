#pragma once

#include <QComboBox>

// An editable drop-down box offering the value list of one key (a field's
// column name, or "Alam"). The list is read again every time it opens, so a
// list edited meanwhile shows at once; what the operator typed stays, and a
// typed or loaded text is never cut, whatever its length.
class TValueListBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TValueListBox(const QString& key, QWidget* parent = nullptr);

    void showPopup() override;

private:
    QString m_key;
};
