#pragma once

#include "common/basedialog.h"

class QPlainTextEdit;

// Edits one value list, one value per line. Saving does not close with 1:
// its opener does not look at the result.
class TFormDiyInput : public TFormBaseDlg
{
    Q_OBJECT
public:
    explicit TFormDiyInput(const QString& key, QWidget* parent = nullptr);

protected:
    void FormShow() override;
    void btnOKClick() override;

private:
    QPlainTextEdit* mmo1;
    QString m_key;
};
