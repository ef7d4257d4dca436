#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

class TFormShowAlam;

// The reminder pop-ups in the order they were shown. Closes those still open
// when it goes.
class PopupLog : public QObject
{
public:
    PopupLog();
    ~PopupLog() override;

    // The pop-ups shown since the last call.
    QList<TFormShowAlam*> take();
    // Their titles.
    QStringList takeTitles();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QPointer<TFormShowAlam>> m_shown;
    QList<QPointer<TFormShowAlam>> m_all;
};

// Receives what the pop-ups post, each event as "delete 7", "seen 7" or
// "snooze 7 4".
class AlamEventLog : public QObject
{
public:
    // The events received since the last call; posted events are delivered first.
    QStringList take();

protected:
    bool event(QEvent* event) override;

private:
    QStringList m_events;
};

// "2026-03-09 10:00:00" or with milliseconds, "2026-03-09 09:59:59.600".
QDateTime Moment(const QString& text);

// Lets posted deletions run, so closed pop-ups are gone.
void FlushDeletes();
