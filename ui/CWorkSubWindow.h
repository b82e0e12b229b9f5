#pragma once

#include <QMdiSubWindow>

class CWorkDialog;

// The sub-window of the work area that holds one dialog; its close box destroys or hides
// the dialog as the dialog asks.
class CWorkSubWindow : public QMdiSubWindow {
    Q_OBJECT
  public:
    explicit CWorkSubWindow(CWorkDialog* dialog);
    CWorkDialog* Dialog() const { return m_pDialog; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    CWorkDialog* m_pDialog;
};
