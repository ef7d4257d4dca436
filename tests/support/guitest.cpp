#include "guitest.h"

#include "common/messages.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QTest>
#include <QPointer>
#include <QTimer>

void OnNextModal(std::function<void(QWidget*)> action)
{
    QPointer<QWidget> previous = QApplication::activeModalWidget();
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, previous, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == previous || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        QPointer<QWidget> window = modal;
        action(modal);
        // A failed check inside action must not leave the test waiting on the dialog.
        if (QTest::currentTestFailed() && window && window->isVisible()) {
            if (auto* dialog = qobject_cast<QDialog*>(window.data()))
                dialog->reject();
        }
    });
    timer->start();
}

QStringList TakeShownMessages()
{
    QStringList texts;
    for (const MessageTesting::ShownMessage& shown : MessageTesting::takeShown())
        texts.append(shown.caption + QLatin1Char(':') + shown.text);
    return texts;
}

QStringList ItemTexts(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts.append(box->itemText(i));
    return texts;
}
