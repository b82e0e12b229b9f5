#include "documents/DocumentKeyMap.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include "grid/CGridCtrl.h"

namespace {

struct LetterOf {
    const char* text;
    char letter;
};

// One letter per button; the sales and the stock-in windows share most buttons.
// One letter per button; the sales and the stock-in windows share most buttons. The ribbon holds
// Alt+A, Alt+F, Alt+S and Alt+V for itself.
constexpr LetterOf kLetters[] = {
    {"新增一单", 'N'},       {"保存", 'B'},       {"保存并打印", 'K'},    {"保存并新开一单", 'W'},
    {"打印设置", 'U'},       {"打印预览", 'Y'},   {"打印", 'P'},          {"单页打印", 'G'},
    {"新增商品", 'J'},       {"删除商品", 'D'},   {"选择/新增客户", 'C'}, {"选择/新增供货商", 'C'},
    {"导入扫描枪数据", 'I'}, {"按原单退货", 'R'}, {"打印小票", 'T'},
};

constexpr const char* kHelpLines[] = {
    "F2\t新增一单",
    "F5 或 Ctrl+S\t保存",
    "F9\t保存并打印",
    "F3\t到商品框(选择商品:拼音首字母、条码或名称)",
    "F4 或 Alt+↓\t打开当前下拉框(收款状态、折扣、税率)",
    "Delete\t删除表格中选中的商品行",
    "Enter\t在商品框中查找商品;在选择窗口中选中",
    "↑ ↓ PageUp PageDown Home End\t在选择窗口中选择商品",
    "Esc\t关闭选择窗口",
    "Tab\t按顺序经过客户、商品框、表格、实收、收款状态,到保存",
    "Ctrl+F\t查询窗口的条件框",
    "Alt+字母\t按钮上带下划线的字母",
};

} // namespace

DocumentKeyMap::DocumentKeyMap(QWidget* window, DocumentKeyTargets targets)
    : QObject(window), m_pWindow(window), m_targets(std::move(targets)) {
    AddKey(QKeySequence(Qt::Key_F2), [this] { PressIfEnabled(m_targets.newDoc); });
    AddKey(QKeySequence(Qt::Key_F5), [this] { PressIfEnabled(m_targets.save); });
    AddKey(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { PressIfEnabled(m_targets.save); });
    AddKey(QKeySequence(Qt::Key_F9), [this] {
        if (m_targets.saveAndPrint)
            m_targets.saveAndPrint();
    });
    AddKey(QKeySequence(Qt::Key_F3), [this] {
        if (m_targets.search && m_targets.search->isEnabled()) {
            m_targets.search->setFocus(Qt::ShortcutFocusReason);
            m_targets.search->selectAll();
        }
    });
    AddKey(QKeySequence(Qt::Key_F4), [this] { OpenCurrentList(m_pWindow, m_targets.grid); });
    AddKey(QKeySequence(Qt::ALT | Qt::Key_Down),
           [this] { OpenCurrentList(m_pWindow, m_targets.grid); });
    AddShortcutLetters(window);
    if (m_targets.grid)
        m_targets.grid->installEventFilter(this);
}

bool DocumentKeyMap::eventFilter(QObject* watched, QEvent* event) {
    CGridCtrl* grid = m_targets.grid;
    if (watched == grid && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            DeleteChosenLine();
            return true;
        }
    }
    if (watched == grid && event->type() == QEvent::FocusIn && m_targets.quantityColumn > 0) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const int last = grid->GetRowCount() - 1;
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) &&
            last >= grid->GetFixedRowCount()) {
            grid->SetFocusCell(last, m_targets.quantityColumn);
            grid->EnsureVisible(last, m_targets.quantityColumn);
        }
    }
    return QObject::eventFilter(watched, event);
}

void DocumentKeyMap::AddKey(const QKeySequence& keys, const std::function<void()>& action) {
    auto* shortcut = new QShortcut(keys, m_pWindow);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, action);
}

void DocumentKeyMap::PressIfEnabled(QPushButton* button) {
    if (button && button->isEnabled() && button->isVisible())
        button->click();
}

// Delete in the table (not in a cell's editor) removes the line of its focus cell.
void DocumentKeyMap::DeleteChosenLine() {
    CGridCtrl* grid = m_targets.grid;
    if (!m_targets.deleteLine)
        return;
    const int row = grid->GetFocusCell().row;
    if (row >= grid->GetFixedRowCount() && row < grid->GetRowCount())
        m_targets.deleteLine(row);
}

void DocumentKeyMap::AddFilterKey(QWidget* window, QWidget* filter) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), window);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, filter, [filter] {
        filter->setFocus(Qt::ShortcutFocusReason);
        if (auto* combo = qobject_cast<QComboBox*>(filter); combo && combo->lineEdit())
            combo->lineEdit()->selectAll();
    });
}

bool DocumentKeyMap::OpenCurrentList(QWidget* window, CGridCtrl* grid) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !window->isAncestorOf(focus))
        return false;
    QComboBox* combo = qobject_cast<QComboBox*>(focus);
    if (!combo)
        combo = qobject_cast<QComboBox*>(focus->parentWidget());
    if (!combo && grid && focus == grid) {
        const CCellID cell = grid->GetFocusCell();
        if (cell.row >= grid->GetFixedRowCount() && cell.col >= grid->GetFixedColumnCount()) {
            grid->EditCell(cell.row, cell.col);
            combo = qobject_cast<QComboBox*>(grid->GetEditWnd());
        }
    }
    if (!combo || !combo->isEnabled())
        return false;
    combo->showPopup();
    return true;
}

void DocumentKeyMap::AddShortcutLetters(QWidget* window) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text().contains(QLatin1Char('&')))
            continue;
        for (const LetterOf& entry : kLetters) {
            if (button->text() == QString::fromUtf8(entry.text)) {
                button->setText(button->text() + QStringLiteral("(&%1)").arg(QChar(entry.letter)));
                break;
            }
        }
    }
}

QString DocumentKeyMap::HelpText() {
    QStringList lines;
    for (const char* line : kHelpLines)
        lines.append(QString::fromUtf8(line));
    return lines.join(QLatin1Char('\n'));
}
