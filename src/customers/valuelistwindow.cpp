#include "valuelistwindow.h"

#include "common/messages.h"
#include "fieldtitles.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

TFormDiyInput::TFormDiyInput(const QString& key, QWidget* parent)
    : TFormBaseDlg(parent)
    , m_key(key)
{
    setObjectName(QStringLiteral("FormDiyInput"));
    setWindowTitle(QStringLiteral("选择信息列表"));
    setFixedSize(300, 400);

    mmo1 = new QPlainTextEdit(contentArea());
    mmo1->setObjectName(QStringLiteral("mmo1"));
    mmo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    mmo1->setTabChangesFocus(true);
    mmo1->setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(contentArea());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mmo1);
}

void TFormDiyInput::FormShow()
{
    QStringList values;
    LoadValueList(m_key, values);
    mmo1->setPlainText(values.join(QLatin1Char('\n')));
    mmo1->setFocus();
}

void TFormDiyInput::btnOKClick()
{
    SaveValueList(m_key, mmo1->toPlainText().split(QLatin1Char('\n')));
    ShowInfo(QStringLiteral("保存成功！"));
    done(ResultCancel);
}
