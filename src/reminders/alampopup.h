#pragma once

#include <QEvent>
#include <QPointer>
#include <QWidget>

class QAction;
class QMenu;
class QPushButton;
class QTextEdit;
class QVariantAnimation;

// The pop-up of a due reminder, always on top near the bottom right corner of
// the screen. It never takes the keyboard focus from the window being typed
// in, yet its buttons work with one click. It does not touch the database: it
// posts the operator's choice (alamevents.h) to its receiver and closes.
class TFormShowAlam : public QWidget
{
    Q_OBJECT
public:
    TFormShowAlam(const QString& id, const QString& title, const QString& content, bool repeating,
                  QObject* receiver);

    QString AlamId;
    // A repeating reminder is only acknowledged: "看到了" posts nothing.
    bool Repeating;

    QTextEdit* mmoTitle;
    QTextEdit* mmo1;
    QPushButton* btnCon;
    QPushButton* btnOkDel;
    QPushButton* btnOkSave;
    QMenu* pm1;
    QAction* N31;
    QAction* N51;
    QAction* N101;
    QAction* N301;
    QAction* N11;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void FormShow();
    void btnOkSaveClick();
    void btnOkDelClick();
    void btnConClick();
    void snooze(int kind);
    void post(QEvent::Type type, int snoozeKind = 0);
    // The roll: only the bottom rows of the window show.
    void showBottom(int pixels);
    void placeAtCorner();

    QPointer<QObject> m_receiver;
    // The window that was active when the pop-up came.
    QPointer<QWidget> m_typingWindow;
    QVariantAnimation* m_roll;
    bool m_shown = false;
};

// Shows a reminder's pop-up without waiting; it deletes itself when closed.
// Its choices go to receiver as posted TAlamEvents.
TFormShowAlam* ShowAlamPopup(const QString& id, const QString& title, const QString& content, bool repeating,
                             QObject* receiver);
