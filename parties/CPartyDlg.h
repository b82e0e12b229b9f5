#pragma once

#include "parties/CTableGridDlg.h"

class QEventLoop;

// Customers ("客户管理") and suppliers ("供货商管理"): one dialog for both tables. Opened from
// the ribbon it is a work dialog; a document opens it in selection mode, modally, where a
// double-click on a row hands that row's name to the document and closes the dialog.
class CPartyDlg : public CTableGridDlg {
    Q_OBJECT
  public:
    enum class Kind { Customer, Supplier };

    explicit CPartyDlg(Kind kind, QWidget* parent = nullptr);
    ~CPartyDlg() override;

    Kind GetKind() const { return m_kind; }

    // Selection mode: shows the dialog as a modal window over owner and returns at once;
    // the run ends when the window closes.
    void OpenSelectMode(QWidget* owner = nullptr);
    // Selection mode until a name is picked or the window is closed.
    void RunSelectMode(QWidget* owner = nullptr);

    // The pick target of the document window that takes a picked name; 0 for none.
    int PickReceiverTarget() const;

    bool m_bSelectMode = false;

  protected:
    void hideEvent(QHideEvent* event) override;

  private:
    void OnGridDoubleClick(int row, int col);

    Kind m_kind;
    QEventLoop* m_pModalLoop = nullptr;
};
