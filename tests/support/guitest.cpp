#include "guitest.h"

#include "common/messages.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QPointer>
#include <QRadioButton>
#include <QTest>
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

bool OpensModal(const std::function<void()>& action)
{
    auto opened = std::make_shared<bool>(false);
    QTimer::singleShot(0, [opened] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            *opened = true;
            dialog->done(2);
        }
    });
    action();
    QCoreApplication::processEvents();
    return *opened;
}

void ChooseFromMenu(QAction* item)
{
    auto* menu = qobject_cast<QMenu*>(item->associatedObjects().value(0));
    QVERIFY2(menu, qPrintable(item->objectName()));
    menu->popup(menu->parentWidget()->window()->geometry().center());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
}

void ClickRadio(QWidget* group, const QString& caption)
{
    for (QRadioButton* button : group->findChildren<QRadioButton*>()) {
        if (button->text() == caption) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    QFAIL(qPrintable(caption));
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
