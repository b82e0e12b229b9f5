#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;

// Asks for 操作员 and 密码 again once nobody has pressed a key or clicked in the program for the
// minutes the owner set in 操作员管理 (none: never). The window stays as it was behind the
// box: nothing typed is lost, and only a right password gives it back, to whoever signs in.
class CIdleSignIn : public QObject {
    Q_OBJECT
  public:
    explicit CIdleSignIn(QWidget* mainWindow);

    // Looks whether the program has been left idle for idleMs; asks to sign in when so.
    void Check(qint64 idleMs);
    bool Asking() const { return m_bAsking; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int Minutes() const;
    void AskAgain();

    QPointer<QWidget> m_pMainWindow;
    QElapsedTimer m_lastInput;
    QTimer m_timer;
    bool m_bAsking = false;
};
