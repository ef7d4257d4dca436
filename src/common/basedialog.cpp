#include "basedialog.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QFrame* separatorLine(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

TFormDialog::TFormDialog(QWidget* parent)
    : QDialog(parent, FixedDialogFlags)
{
}

void TFormDialog::FormShow()
{
}

void TFormDialog::showEvent(QShowEvent* event)
{
    if (!m_shown) {
        m_shown = true;
        FormShow();
        CenterOnActiveWindow(this);
    }
    QDialog::showEvent(event);
}

TFormBaseDlg::TFormBaseDlg(QWidget* parent)
    : TFormDialog(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(separatorLine(this));

    m_content = new QWidget(this);
    m_content->setObjectName(QStringLiteral("pnlContent"));
    layout->addWidget(m_content, 1);
    layout->addWidget(separatorLine(this));

    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("pnlButtons"));
    strip->setFixedHeight(34);
    m_strip = new QHBoxLayout(strip);
    m_strip->setContentsMargins(16, 4, 10, 4);
    m_strip->addStretch(1);

    btnOK = new QPushButton(QStringLiteral("确定(&O)"), strip);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setFixedSize(75, 25);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("取消(&C)"), strip);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setFixedSize(75, 25);
    btnCancel->setAutoDefault(false);
    m_strip->addWidget(btnOK);
    m_strip->addWidget(btnCancel);
    layout->addWidget(strip);

    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &TFormBaseDlg::reject);
}

void TFormBaseDlg::reject()
{
    done(ResultCancel);
}

void TFormBaseDlg::btnOKClick()
{
}

void CenterOnActiveWindow(QWidget* window)
{
    window->adjustSize();
    QWidget* active = QApplication::activeWindow();
    QRect area;
    if (active && active != window && active->isVisible())
        area = active->frameGeometry();
    else if (QScreen* screen = QApplication::primaryScreen())
        area = screen->availableGeometry();
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    window->move(frame.topLeft());
}
