#pragma once

#include <QObject>

class QSoundEffect;

// The chime of a reminder pop-up. One player for the program, so starting
// the chime ends the one still playing. Playing never waits; without a sound
// device there is simply no sound.
class TChime : public QObject
{
    Q_OBJECT
public:
    static TChime& Instance();

    void Play();
    // How often the chime was started.
    int PlayCount() const { return m_playCount; }

private:
    explicit TChime(QObject* parent);

    QSoundEffect* m_effect;
    int m_playCount = 0;
};
