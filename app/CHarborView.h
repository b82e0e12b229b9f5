#pragma once

#include <QMdiArea>

class CWorkDialog;

// The home view: paints the home picture and is the work area on which the dialogs lie.
// Every paint and resize stores its screen rectangle in theApp.m_rcWorkArea.
class CHarborView : public QMdiArea {
    Q_OBJECT
public:
    explicit CHarborView(QWidget* parent = nullptr);

    // The work area in the view's own coordinates.
    QRect WorkAreaRect() const;
    void UpdateWorkArea();

    // Shows a dialog in its sub-window (creating that on first use) and places it.
    void ShowDialog(CWorkDialog* dialog, bool created);

signals:
    void editCommand(int which);  // the "编辑" popup: 0 cut, 1 copy, 2 paste

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QRect ColumnPlacement(int width) const;
};
