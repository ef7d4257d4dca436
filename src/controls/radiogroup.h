#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

// A frame of radio buttons laid out in columns, at most one of them checked.
// The items are replaced as a whole; the buttons are named after the group
// ("rd1_0", "rd1_1", …) and read by their index.
class TRadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    void SetItems(const QStringList& captions, int columns);
    // The index of the checked button, or -1.
    int ItemIndex() const;
    void SetItemIndex(int index);
    QRadioButton* Button(int index) const;

signals:
    // The operator chose an item, by mouse or keyboard.
    void Clicked(int index);

private:
    QButtonGroup* m_buttons;
    QGridLayout* m_grid;
};
