#pragma once

#include <QDialog>

#include "catalogue/LabelSheet.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;

// 标签设置: the paper, the size of one label, how many columns and rows a sheet has, the
// margins and gaps. "确定" keeps the sheet in the settings, after checking that it fits the paper.
class CLabelSetupDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CLabelSetupDlg(const LabelSheet& sheet, QWidget* parent = nullptr);

    // The sheet as the fields show it.
    LabelSheet Sheet() const;
    // The line under the fields: labels per sheet and the room they take.
    QString Summary() const;

    void accept() override;

  private:
    void UpdateSummary();

    QComboBox* m_pPaper = nullptr;
    QDoubleSpinBox* m_pWidth = nullptr;
    QDoubleSpinBox* m_pHeight = nullptr;
    QSpinBox* m_pColumns = nullptr;
    QSpinBox* m_pRows = nullptr;
    QDoubleSpinBox* m_pLeft = nullptr;
    QDoubleSpinBox* m_pTop = nullptr;
    QDoubleSpinBox* m_pColumnGap = nullptr;
    QDoubleSpinBox* m_pRowGap = nullptr;
    QCheckBox* m_pBorders = nullptr;
    QLabel* m_pSummary = nullptr;
};
