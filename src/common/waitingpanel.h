#pragma once

#include <QWidget>

class QLabel;

// The borderless "please wait" panel shown on top during long work.
class TFormWaiting : public QWidget
{
    Q_OBJECT
public:
    explicit TFormWaiting(QWidget* parent = nullptr);

    QString caption() const;
    void setCaption(const QString& caption);

private:
    QLabel* m_label;
};

extern TFormWaiting* FormWaiting;

// An empty text keeps the previous caption. Pair every ShowWaiting with a
// HideWaiting that also runs when the work between them fails (WaitingScope).
void ShowWaiting(const QString& text);
void HideWaiting();

class WaitingScope
{
public:
    explicit WaitingScope(const QString& text) { ShowWaiting(text); }
    ~WaitingScope() { HideWaiting(); }
    WaitingScope(const WaitingScope&) = delete;
    WaitingScope& operator=(const WaitingScope&) = delete;
};
