#pragma once

#include <QString>
#include <QWidget>

// Base of the modeless dialogs that the ribbon opens over the home view's work area.
// The main frame hosts each one in a sub-window of the work area and places it.
// Escape hides the dialog (the next command shows it again as it was); Enter never closes it.
// The close box destroys the dialog unless GetCloseBox() says Hides.
class CWorkDialog : public QWidget {
    Q_OBJECT
  public:
    enum class Placement { CoverWorkArea, Column };
    enum class CloseBox { Destroys, Hides };

    explicit CWorkDialog(const QString& title, QWidget* parent = nullptr);
    ~CWorkDialog() override;

    virtual Placement GetPlacement() const { return Placement::CoverWorkArea; }
    virtual CloseBox GetCloseBox() const { return CloseBox::Destroys; }
    // Asked before the close box destroys the window; false keeps it open.
    virtual bool QueryClose() { return true; }

    // Hides the dialog's window (what Escape does).
    void HideDialog();
    // The window that holds the dialog on screen (its sub-window, or the dialog itself).
    QWidget* HostWindow();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Runs once, when the window is first shown (a query window lists today's documents).
    virtual void FirstShown() {}

  private:
    bool m_bShownOnce = false;
};

// The open dialog window with exactly this title (shown or hidden), or null.
CWorkDialog* FindWorkWindow(const QString& title);
