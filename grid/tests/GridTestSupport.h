// Shared pieces of the grid tests: a grid shown in a real window, and a recorder of the
// notifications it sends to its parent.
#pragma once

#include "GridInput.h"
#include "UserInput.h"
#include "grid/CGridCtrl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QList>
#include <QMap>
#include <QTest>
#include <QWidget>
#include <memory>

// Types text that has no key of its own (Chinese characters) into a widget.
inline void TypeKeys(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

struct GridNotice {
    int code;
    int row;
    int col;
    bool operator==(const GridNotice&) const = default;
};

inline char* toString(const GridNotice& n) {
    return QTest::toString(QStringLiteral("(%1, %2, %3)").arg(n.code).arg(n.row).arg(n.col));
}

// Records every notification and answers each code as told.
class NoticeRecorder {
  public:
    explicit NoticeRecorder(CGridCtrl* grid) {
        m_connection = QObject::connect(grid, &CGridCtrl::gridNotify, grid,
                                        [this](int code, int row, int col, CGridResult* result) {
                                            notices.append({code, row, col});
                                            texts.append(m_grid->GetCellText(row, col));
                                            if (answers.contains(code))
                                                result->nResult = answers.value(code);
                                        });
        m_grid = grid;
    }
    ~NoticeRecorder() { QObject::disconnect(m_connection); }
    NoticeRecorder(const NoticeRecorder&) = delete;
    NoticeRecorder& operator=(const NoticeRecorder&) = delete;
    QList<GridNotice> Of(int code) const {
        QList<GridNotice> found;
        for (const GridNotice& n : notices)
            if (n.code == code)
                found.append(n);
        return found;
    }
    void Clear() {
        notices.clear();
        texts.clear();
    }

    QList<GridNotice> notices;
    QStringList texts; // the cell's text when each notice went out
    QMap<int, int> answers;

  private:
    CGridCtrl* m_grid = nullptr;
    QMetaObject::Connection m_connection;
};

// A grid of rows x cols (one fixed row, one fixed column) with texts "r,c", shown in an active
// window so that focus and keys work offscreen. Set up as the dialogs do.
class ShownGrid {
  public:
    ShownGrid(int rows, int cols, bool listMode = true) {
        window = std::make_unique<QWidget>();
        window->resize(640, 420);
        grid = new CGridCtrl(window.get());
        grid->setGeometry(10, 10, 600, 380);
        grid->SetRowCount(rows);
        grid->SetColumnCount(cols);
        grid->SetFixedRowCount(1);
        grid->SetFixedColumnCount(1);
        grid->ClearSelection();
        grid->SetSortColumn(-1);
        grid->SetListMode(listMode);
        grid->SetFixedColumnSelection(false);
        grid->SetTrackFocusCell(false);
        grid->SetGridBkColor(QColor(255, 255, 255));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                grid->SetCellText(r, c, QStringLiteral("%1,%2").arg(r).arg(c));
        window->show();
        QApplication::setActiveWindow(window.get());
        window->activateWindow();
        ready =
            QTest::qWaitForWindowExposed(window.get()) && QTest::qWaitForWindowActive(window.get());
        grid->setFocus();
    }

    QWidget* Viewport() const { return grid->viewport(); }
    QPoint Center(int row, int col) const { return CellCentre(grid, row, col); }
    void Click(int row, int col, Qt::KeyboardModifiers mods = {}) const {
        ClickCell(grid, row, col, Qt::LeftButton, mods);
    }
    // A key as the keyboard delivers it: to an open popup (a drop-down list) first.
    void Key(int key, Qt::KeyboardModifiers mods = {}) const {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : grid;
        if (QWidget* popup = QApplication::activePopupWidget())
            target = popup->focusWidget() ? popup->focusWidget() : popup;
        QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
    }

    std::unique_ptr<QWidget> window;
    CGridCtrl* grid = nullptr;
    bool ready = false;
};
