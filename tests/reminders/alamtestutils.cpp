#include "alamtestutils.h"

#include "reminders/alamevents.h"
#include "reminders/alampopup.h"

#include <QCoreApplication>
#include <QTextEdit>

PopupLog::PopupLog()
{
    QCoreApplication::instance()->installEventFilter(this);
}

PopupLog::~PopupLog()
{
    QCoreApplication::instance()->removeEventFilter(this);
    for (const QPointer<TFormShowAlam>& popup : std::as_const(m_all)) {
        if (popup)
            popup->close();
    }
    FlushDeletes();
}

QList<TFormShowAlam*> PopupLog::take()
{
    QList<TFormShowAlam*> shown;
    for (const QPointer<TFormShowAlam>& popup : std::as_const(m_shown)) {
        if (popup)
            shown.append(popup);
    }
    m_shown.clear();
    return shown;
}

QStringList PopupLog::takeTitles()
{
    QStringList titles;
    for (TFormShowAlam* popup : take())
        titles.append(popup->mmoTitle->toPlainText());
    return titles;
}

bool PopupLog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        if (auto* popup = qobject_cast<TFormShowAlam*>(watched)) {
            m_shown.append(popup);
            m_all.append(popup);
        }
    }
    return QObject::eventFilter(watched, event);
}

QStringList AlamEventLog::take()
{
    QCoreApplication::sendPostedEvents(this);
    QStringList events;
    events.swap(m_events);
    return events;
}

bool AlamEventLog::event(QEvent* event)
{
    const auto* alamEvent = dynamic_cast<const TAlamEvent*>(event);
    if (!alamEvent)
        return QObject::event(event);
    const QString id = QString::number(alamEvent->Id);
    if (event->type() == WM_ALAMDELETE)
        m_events.append(QStringLiteral("delete ") + id);
    else if (event->type() == WM_ALAMSEEN)
        m_events.append(QStringLiteral("seen ") + id);
    else if (event->type() == WM_ALAMSNOOZE)
        m_events.append(QStringLiteral("snooze %1 %2").arg(id).arg(alamEvent->SnoozeKind));
    return true;
}

QDateTime Moment(const QString& text)
{
    const QString format = text.contains(QLatin1Char('.')) ? QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")
                                                           : QStringLiteral("yyyy-MM-dd hh:mm:ss");
    return QDateTime::fromString(text, format);
}

void FlushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
