#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>

class CHarborView;
class CLansetDlg;
class CRibbonBar;
class CWorkDialog;
class QActionGroup;
class QLabel;
class QMenu;

// The main window: ribbon, home view with the work area, status bar. Keeps one object of
// each main dialog and opens it over the work area on its ribbon command.
class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Carries out a command of the ribbon or the application menu.
    void OnCommand(int command);
    // The dialog that a work-area command keeps (null when its window does not exist).
    CWorkDialog* DialogFor(int command) const;
    CHarborView* View() const { return m_pView; }
    CRibbonBar* Ribbon() const { return m_pRibbon; }
    QLabel* DatePane() const { return m_pDatePane; }
    void RepaintNow();

    // Applies a visual style (205 to 219), stores it in ApplicationLook and redraws.
    void OnApplicationLook(unsigned look);

  private:
    void BuildRibbon();
    QMenu* BuildApplicationMenu();
    QMenu* BuildStyleMenu();
    void BuildStatusBar();
    void ApplyLook(unsigned look);
    void ShowWorkDialog(int command);
    void ShowModal(int command);
    void ShowAbout();

    CRibbonBar* m_pRibbon;
    CHarborView* m_pView;
    QLabel* m_pDatePane = nullptr;
    QActionGroup* m_pLookGroup = nullptr;
    CLansetDlg* m_pLansetDlg = nullptr;
    QHash<int, QPointer<CWorkDialog>> m_dialogs;
};
