#include "chime.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSoundEffect>

TChime::TChime(QObject* parent)
    : QObject(parent)
    , m_effect(new QSoundEffect(this))
{
    // Loaded in the background; a play asked for before that starts once it is loaded.
    m_effect->setSource(QUrl(QStringLiteral("qrc:/reminders/chime.wav")));
}

TChime& TChime::Instance()
{
    // Owned by the application, so it goes before the audio system does.
    static QPointer<TChime> instance;
    if (!instance)
        instance = new TChime(QCoreApplication::instance());
    return *instance;
}

void TChime::Play()
{
    ++m_playCount;
    m_effect->stop();
    m_effect->play();
}
