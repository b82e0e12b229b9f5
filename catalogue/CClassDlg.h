#pragma once

#include "catalogue/CCatalogueTree.h"
#include "catalogue/CCatalogueWriter.h"
#include "ui/CWorkDialog.h"

#include <QColor>
#include <QStringList>
#include <optional>

class CGridCtrl;
class CPropertyPanel;
class QGroupBox;
class QPushButton;
class QVBoxLayout;

// "商品编码": five side-by-side lists, one per catalogue level (levels 1 to 4 are names, level 5
// the specifications), each with its own add, save and delete buttons, and above them the
// property row of the specification last clicked.
class CClassDlg : public CWorkDialog {
    Q_OBJECT
  public:
    explicit CClassDlg(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {1200, 700}; }

    void SelectLevelRow(int k, int row, int col);
    void CheckLevelEdit(int k, int row, int col);
    void AddLevelRow(int k);
    void SaveLevel(int k);
    void DeleteLevelRow(int k);
    void ShowProperties(int k);

    CGridCtrl* List(int k) const { return m_pList[k]; }
    QPushButton* AddButton(int k) const { return m_pAdd[k]; }
    QPushButton* SaveButton(int k) const { return m_pSaveLevel[k]; }
    QPushButton* DeleteButton(int k) const { return m_pDelete[k]; }
    CPropertyPanel* Properties() const { return m_pProperties; }

    // The path of the rows last clicked.
    CCatalogueTree m_tree;
    QString m_strSpec;
    int m_nSelRow[CCatalogueTree::kLevels + 1] = {};

    // Pack units offered when a specification row is added or the list follows a click, and
    // after a save has rewritten the list.
    static const QStringList kPackOptions;
    static const QStringList kSavedPackOptions;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QGroupBox* CreateListFrame();
    QVBoxLayout* CreateLevelColumn(int k);
    void FillLevelList(int k, const QVector<CatalogueRow>& rows);
    void FillSpecList(const QVector<CatalogueRow>& rows);
    void ReloadList(int k);
    void RefillAfterSave(int k, const QVector<CatalogueListRow>& rows,
                         const CCatalogueWriter::Result& result,
                         const QVector<CatalogueRow>& stored, const QVector<QColor>& colours);
    bool ConfirmRenumbering(int k, const QVector<CCatalogueWriter::Move>& moves);
    void TellNothingSaved(int k, const CCatalogueWriter::Result& result);
    void SetSpecRow(int row, const CatalogueRow& spec, const QStringList& packOptions);
    static QVector<QColor> SpecColours(const QVector<CatalogueRow>& specs);
    void ColourSpecRow(int row, const QColor& colour);
    void ClearListsBelow(int k);
    bool IsPathComplete(int k) const;
    void RemoveListRow(int k, int row);
    void ForgetSelection(int k);
    QVector<CatalogueListRow> ListRows(int k) const;
    bool IsDuplicate(int k, int row, const QString& text) const;
    static int CodeColumn(int k) { return k < CCatalogueTree::kLevels ? 2 : 3; }

    CGridCtrl* m_pList[CCatalogueTree::kLevels + 1] = {};
    QPushButton* m_pAdd[CCatalogueTree::kLevels + 1] = {};
    QPushButton* m_pSaveLevel[CCatalogueTree::kLevels + 1] = {};
    QPushButton* m_pDelete[CCatalogueTree::kLevels + 1] = {};
    CPropertyPanel* m_pProperties = nullptr;
    // Per list and data row (grid row - 1): the record the row was loaded from; none for a row
    // added and not saved yet.
    QVector<std::optional<CatalogueRow>> m_loaded[CCatalogueTree::kLevels + 1];
};
