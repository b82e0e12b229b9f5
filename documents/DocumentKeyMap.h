#pragma once

#include <QObject>
#include <QString>
#include <functional>

class CGridCtrl;
class QLineEdit;
class QPushButton;
class QWidget;

// What the keys of a document window act on.
struct DocumentKeyTargets {
    QPushButton* newDoc = nullptr;      // F2
    QPushButton* save = nullptr;        // F5, Ctrl+S
    QLineEdit* search = nullptr;        // F3: the product box
    CGridCtrl* grid = nullptr;          // Delete removes its chosen line
    int quantityColumn = -1;            // where Tab into the table lands on the last line
    std::function<void()> saveAndPrint; // F9
    std::function<void(int row)> deleteLine;
};

// The function keys of a document window, and the shortcut letters of its buttons (shown
// underlined while Alt is held; the focus stays where it is):
//   F2 新增一单, F5 or Ctrl+S 保存, F9 保存并打印, F3 the product box, F4 or Alt+Down opens the
//   list of the combo box or drop-list cell with the focus, Delete removes the chosen line of
//   the table (asking as 删除商品 does). Tab or Shift+Tab into the table lands on the quantity
//   of its last line, ready to type.
class DocumentKeyMap : public QObject {
    Q_OBJECT
  public:
    DocumentKeyMap(QWidget* window, DocumentKeyTargets targets);

    // Gives each button of window whose text is in the table its shortcut letter, e.g.
    // 保存 becomes 保存(&S).
    static void AddShortcutLetters(QWidget* window);
    // The key map for the help menu, one key a line.
    static QString HelpText();
    // Ctrl+F in a query window: the focus to its filter box, its text chosen.
    static void AddFilterKey(QWidget* window, QWidget* filter);
    // Opens the list of the focused combo box, or of the drop-list cell chosen in grid.
    static bool OpenCurrentList(QWidget* window, CGridCtrl* grid);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void AddKey(const QKeySequence& keys, const std::function<void()>& action);
    void PressIfEnabled(QPushButton* button);
    void DeleteChosenLine();

    QWidget* m_pWindow;
    DocumentKeyTargets m_targets;
};
