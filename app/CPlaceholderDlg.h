#pragma once

#include "app/CWorkDialog.h"

// Stands in for a dialog whose window is not built yet: its title, placement and close
// behaviour, and a line saying the function is coming.
class CPlaceholderDlg : public CWorkDialog {
    Q_OBJECT
public:
    CPlaceholderDlg(const QString& title, Placement placement, CloseBox closeBox,
                    QWidget* parent = nullptr);

    Placement GetPlacement() const override { return m_placement; }
    CloseBox GetCloseBox() const override { return m_closeBox; }
    QSize sizeHint() const override { return QSize(640, 480); }

private:
    Placement m_placement;
    CloseBox m_closeBox;
};
