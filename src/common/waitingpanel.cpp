#include "waitingpanel.h"

#include "basedialog.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

TFormWaiting* FormWaiting = nullptr;

TFormWaiting::TFormWaiting(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FormWaiting"));
    setFixedSize(305, 41);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* panelLayout = new QVBoxLayout(panel);
    m_label = new QLabel(panel);
    m_label->setObjectName(QStringLiteral("lblWaiting"));
    m_label->setAlignment(Qt::AlignCenter);
    panelLayout->addWidget(m_label);
    layout->addWidget(panel);
}

QString TFormWaiting::caption() const
{
    return m_label->text();
}

void TFormWaiting::setCaption(const QString& caption)
{
    m_label->setText(caption);
}

void ShowWaiting(const QString& text)
{
    if (FormWaiting && !text.isEmpty())
        FormWaiting->setCaption(text);
    QApplication::processEvents();
    if (FormWaiting) {
        CenterOnActiveWindow(FormWaiting);
        FormWaiting->show();
        FormWaiting->raise();
    }
    QApplication::processEvents();
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void HideWaiting()
{
    if (FormWaiting)
        FormWaiting->hide();
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}
