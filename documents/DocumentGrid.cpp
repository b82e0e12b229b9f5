#include "documents/DocumentGrid.h"

#include <vector>

#include "documents/SaleLineMath.h"
#include "grid/CGridCellCombo.h"
#include "grid/CGridCtrl.h"
#include "grid/GridHeading.h"

namespace {

constexpr int kRowHeight = 25;
constexpr quint32 kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr quint32 kRight = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;

void MakeDropList(CGridCtrl* grid, int row, int col, const QStringList& options,
                  const QString& shown) {
    if (col < 0)
        return;
    grid->SetCellType<CGridCellCombo>(row, col);
    if (auto* combo = dynamic_cast<CGridCellCombo*>(grid->GetCell(row, col)))
        combo->SetStyle(CBS_DROPDOWNLIST);
    grid->SetComboOptions(row, col, options);
    grid->SetCellText(row, col, shown);
    grid->SetCellFormat(row, col, kCentred);
}

void SetText(CGridCtrl* grid, int row, int col, const QString& text) {
    if (col >= 0)
        grid->SetCellText(row, col, text);
}

} // namespace

void SetupLineGrid(CGridCtrl* grid, const DocumentForm& form) {
    const int columns = form.headers.size();
    std::vector<QByteArray> texts;
    std::vector<const char*> headers;
    for (const QString& header : form.headers)
        texts.push_back(header.toUtf8());
    for (const QByteArray& text : texts)
        headers.push_back(text.constData());
    SetPlainCentredLook(grid, kRowHeight);
    SetFixedHeading(grid, headers.data(), form.widths.constData(), columns, kRowHeight);
}

void FitLineColumns(CGridCtrl* grid, const DocumentForm& form) {
    int others = 0;
    for (int col = 0; col < form.widths.size(); ++col)
        others += col == form.columns.name ? 0 : form.widths[col];
    const int room = grid->viewport()->width() - others;
    if (grid->GetColumnWidth(form.columns.name) != qMax(kNameColumnMinimum, room))
        grid->SetColumnWidth(form.columns.name, qMax(kNameColumnMinimum, room));
}

int AppendLineRow(CGridCtrl* grid, const DocumentForm& form) {
    const int row = grid->AppendRow();
    const LineColumns& c = form.columns;
    grid->SetRowHeight(row, kRowHeight);
    for (int col = 0; col < form.headers.size(); ++col)
        grid->SetCellFormat(row, col, col == c.amount ? kRight : kCentred);
    // The product's own texts and the amount come from the program, never from typing.
    for (int col : {c.name, c.shortName, c.spec, c.amount})
        grid->SetCellReadOnly(row, col);
    if (!form.typedCode)
        grid->SetCellReadOnly(row, c.code);
    grid->SetCellText(row, 0, QString::number(row));
    return row;
}

void RenumberLines(CGridCtrl* grid) {
    for (int row = 1; row < grid->GetRowCount(); ++row)
        grid->SetCellText(row, 0, QString::number(row));
}

void PutLineProduct(CGridCtrl* grid, const DocumentForm& form, int row, const QString& code,
                    const ProductFacts& product) {
    const LineColumns& c = form.columns;
    MakeDropList(grid, row, c.discount,
                 DiscountOptions(product.discount1, product.discount2, product.discount3),
                 QStringLiteral("1.0"));
    MakeDropList(grid, row, c.remark, RemarkOptions(), QString());
    grid->SetCellText(row, c.name, product.name);
    grid->SetCellText(row, c.code, code);
    grid->SetCellText(row, c.shortName, product.shortName);
    grid->SetCellText(row, c.spec, product.spec);
    if (form.catalogPrice) {
        grid->SetCellText(row, c.price, product.price);
    } else {
        for (int col : {c.price, c.count, c.amount})
            grid->SetCellText(row, col, QString());
    }
    grid->Refresh();
}

void PutStoredLine(CGridCtrl* grid, const DocumentForm& form, int row, const DocumentLine& line,
                   const QStringList& discounts) {
    const LineColumns& c = form.columns;
    MakeDropList(grid, row, c.discount, discounts, line.discount);
    MakeDropList(grid, row, c.remark, RemarkOptions(), line.remark);
    const int columns[] = {c.name,  c.shortName, c.code,   c.spec, c.price,
                           c.count, c.discount,  c.amount, c.pcs,  c.remark};
    const QString texts[] = {line.name,  line.shortName, line.code,   line.spec, line.price,
                             line.count, line.discount,  line.amount, line.pcs,  line.remark};
    for (int i = 0; i < 10; ++i)
        SetText(grid, row, columns[i], texts[i]);
    SetLineAmount(grid, form, row, line.amount);
}

void LockTakenSaleLine(CGridCtrl* grid, const DocumentForm& form, int row) {
    const LineColumns& c = form.columns;
    for (const int col : {c.code, c.price, c.discount, c.remark}) {
        if (col >= 0)
            grid->SetCellReadOnly(row, col);
    }
}

void SetLineAmount(CGridCtrl* grid, const DocumentForm& form, int row, const QString& amount) {
    grid->SetCellText(row, form.columns.amount, amount);
    grid->SetCellFormat(row, form.columns.amount, kRight);
    grid->RedrawRow(row);
}

DocumentLine ReadLine(const CGridCtrl* grid, const DocumentForm& form, int row) {
    auto text = [grid, row](int col) { return col < 0 ? QString() : grid->GetCellText(row, col); };
    const LineColumns& c = form.columns;
    return DocumentLine{text(c.name),  text(c.shortName), text(c.code),     text(c.spec),
                        text(c.price), text(c.count),     text(c.discount), text(c.amount),
                        text(c.pcs),   text(c.remark)};
}

QVector<DocumentLine> ReadLines(const CGridCtrl* grid, const DocumentForm& form) {
    QVector<DocumentLine> lines;
    for (int row = 1; row < grid->GetRowCount(); ++row)
        lines.append(ReadLine(grid, form, row));
    return lines;
}

QStringList LineAmounts(const CGridCtrl* grid, const DocumentForm& form) {
    QStringList amounts;
    for (int row = 1; row < grid->GetRowCount(); ++row)
        amounts.append(grid->GetCellText(row, form.columns.amount));
    return amounts;
}
