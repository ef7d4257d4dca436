#include "inputboxwindow.h"

#include "common/messages.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

TFormInPutBox::TFormInPutBox(QWidget* parent)
    : TFormBaseDlg(parent)
{
    setObjectName(QStringLiteral("FormInPutBox"));

    EdtValues = new QLineEdit(contentArea());
    EdtValues->setObjectName(QStringLiteral("EdtValues"));
    EdtValues->setFixedWidth(145);
    LabTitle = new QLabel(QStringLiteral("标题"), contentArea());
    LabTitle->setObjectName(QStringLiteral("LabTitle"));
    LabTitle->setFixedWidth(73);
    LabTitle->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LabTitle->setBuddy(EdtValues);

    auto* grid = new QGridLayout(contentArea());
    grid->setContentsMargins(32, 0, 8, 0);
    grid->setHorizontalSpacing(7);
    grid->addWidget(LabTitle, 0, 0);
    grid->addWidget(EdtValues, 0, 1);
    grid->setColumnStretch(2, 1);

    // The client area is 321 by 132 pixels, the button strip included.
    setFixedSize(321, 132);
}

void TFormInPutBox::SetPrompt(const QString& prompt)
{
    LabTitle->setText(prompt);
}

void TFormInPutBox::SetValue(const QString& value)
{
    EdtValues->setText(value);
}

QString TFormInPutBox::Value() const
{
    return EdtValues->text();
}

void TFormInPutBox::showEvent(QShowEvent* event)
{
    TFormBaseDlg::showEvent(event);
    EdtValues->setFocus();
}

void TFormInPutBox::btnOKClick()
{
    if (EdtValues->text().trimmed().isEmpty()) {
        ShowInfo(QStringLiteral("输入不能为空！"));
        return;
    }
    done(ResultOK);
}
