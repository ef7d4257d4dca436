#include "radiogroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

TRadioGroup::TRadioGroup(QWidget* parent)
    : QGroupBox(parent)
    , m_buttons(new QButtonGroup(this))
    , m_grid(new QGridLayout(this))
{
    m_grid->setContentsMargins(6, 2, 6, 2);
    m_grid->setVerticalSpacing(2);
    connect(m_buttons, &QButtonGroup::idClicked, this, &TRadioGroup::Clicked);
}

void TRadioGroup::SetItems(const QStringList& captions, int columns)
{
    for (QAbstractButton* button : m_buttons->buttons()) {
        m_buttons->removeButton(button);
        delete button;
    }
    for (int column = 0; column < m_grid->columnCount(); ++column)
        m_grid->setColumnStretch(column, 0);
    for (int index = 0; index < captions.size(); ++index) {
        auto* button = new QRadioButton(captions[index], this);
        button->setObjectName(objectName() + QLatin1Char('_') + QString::number(index));
        m_buttons->addButton(button, index);
        m_grid->addWidget(button, index / columns, index % columns);
    }
    // Equal columns, as wide as the frame allows.
    for (int column = 0; column < columns; ++column)
        m_grid->setColumnStretch(column, 1);
}

int TRadioGroup::ItemIndex() const
{
    return m_buttons->checkedId();
}

void TRadioGroup::SetItemIndex(int index)
{
    if (QRadioButton* button = Button(index)) {
        button->setChecked(true);
    } else if (QAbstractButton* checked = m_buttons->checkedButton()) {
        // An exclusive group never unchecks its last button by itself.
        m_buttons->setExclusive(false);
        checked->setChecked(false);
        m_buttons->setExclusive(true);
    }
}

QRadioButton* TRadioGroup::Button(int index) const
{
    return qobject_cast<QRadioButton*>(m_buttons->button(index));
}
