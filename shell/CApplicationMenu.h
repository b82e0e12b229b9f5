#pragma once

#include <QMenu>
#include <functional>

// The menu of the ribbon's application button. Besides ordinary items it has one split item
// (打印): the item itself runs a command (click, Enter or its command key tip), while its
// arrow, the Right key or its menu key tip opens its sub-items.
class CApplicationMenu : public QMenu {
    Q_OBJECT
  public:
    explicit CApplicationMenu(const QString& title, QWidget* parent = nullptr);

    // Adds a sub-menu whose item runs command; commandKey and menuKey are its key tips.
    QMenu* AddSplitMenu(const QString& text, std::function<void()> command, QChar commandKey,
                        QChar menuKey);
    QAction* SplitAction() const { return m_pSplitAction; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void RunSplitCommand();
    void OpenSplitMenu();

    QAction* m_pSplitAction = nullptr;
    std::function<void()> m_command;
    QChar m_commandKey;
    QChar m_menuKey;
};
