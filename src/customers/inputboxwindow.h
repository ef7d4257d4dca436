#pragma once

#include "common/basedialog.h"

class QLabel;
class QLineEdit;

// Asks for one line of text that is not blank.
class TFormInPutBox : public TFormBaseDlg
{
    Q_OBJECT
public:
    explicit TFormInPutBox(QWidget* parent = nullptr);

    void SetPrompt(const QString& prompt);
    void SetValue(const QString& value);
    // The text as typed, blanks included.
    QString Value() const;

protected:
    void showEvent(QShowEvent* event) override;
    void btnOKClick() override;

private:
    QLabel* LabTitle;
    QLineEdit* EdtValues;
};
