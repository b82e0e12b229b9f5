#include "catalogue/LabelSheet.h"

#include <QSettings>

namespace {

const char* const kOrganisation = "应用程序向导生成的本地应用程序";
const char* const kGroup = "LabelSheet";

QSettings Settings() {
    return QSettings(QString::fromUtf8(kOrganisation), QStringLiteral("Harbor"));
}

} // namespace

int LabelSheet::SheetCount(int labels) const {
    const int perSheet = LabelsPerSheet();
    if (labels <= 0 || perSheet <= 0)
        return 0;
    return (labels + perSheet - 1) / perSheet;
}

LabelPlace LabelSheet::Place(int index) const {
    const int perSheet = qMax(1, LabelsPerSheet());
    const int slot = index % perSheet;
    const int row = slot / qMax(1, columns);
    const int column = slot % qMax(1, columns);
    const double left = leftMargin + column * (labelWidth + columnGap);
    const double top = topMargin + row * (labelHeight + rowGap);
    return {index / perSheet, QRectF(left, top, labelWidth, labelHeight)};
}

QSizeF LabelSheet::UsedSize() const {
    return {leftMargin + columns * labelWidth + qMax(0, columns - 1) * columnGap,
            topMargin + rows * labelHeight + qMax(0, rows - 1) * rowGap};
}

bool LabelSheet::FitsPaper() const {
    const QSizeF paperSize = QPageSize(paper).size(QPageSize::Millimeter);
    const QSizeF used = UsedSize();
    // A hundredth of a millimetre for sizes typed to the paper's edge.
    return used.width() <= paperSize.width() + 0.01 && used.height() <= paperSize.height() + 0.01;
}

bool LabelSheet::IsValid() const {
    return labelWidth > 0 && labelHeight > 0 && columns >= 1 && rows >= 1 && leftMargin >= 0 &&
           topMargin >= 0 && columnGap >= 0 && rowGap >= 0;
}

LabelSheet LabelSheet::Load() {
    QSettings settings = Settings();
    settings.beginGroup(QString::fromLatin1(kGroup));
    const LabelSheet fallback;
    LabelSheet sheet;
    sheet.paper = QPageSize::PageSizeId(settings.value("paper", int(fallback.paper)).toInt());
    sheet.labelWidth = settings.value("labelWidth", fallback.labelWidth).toDouble();
    sheet.labelHeight = settings.value("labelHeight", fallback.labelHeight).toDouble();
    sheet.columns = settings.value("columns", fallback.columns).toInt();
    sheet.rows = settings.value("rows", fallback.rows).toInt();
    sheet.leftMargin = settings.value("leftMargin", fallback.leftMargin).toDouble();
    sheet.topMargin = settings.value("topMargin", fallback.topMargin).toDouble();
    sheet.columnGap = settings.value("columnGap", fallback.columnGap).toDouble();
    sheet.rowGap = settings.value("rowGap", fallback.rowGap).toDouble();
    sheet.borders = settings.value("borders", fallback.borders).toBool();
    // A damaged or hand-edited setting gives the usual sheet rather than no labels.
    if (!sheet.IsValid() || !QPageSize(sheet.paper).isValid())
        return fallback;
    return sheet;
}

void LabelSheet::Save() const {
    QSettings settings = Settings();
    settings.beginGroup(QString::fromLatin1(kGroup));
    settings.setValue("paper", int(paper));
    settings.setValue("labelWidth", labelWidth);
    settings.setValue("labelHeight", labelHeight);
    settings.setValue("columns", columns);
    settings.setValue("rows", rows);
    settings.setValue("leftMargin", leftMargin);
    settings.setValue("topMargin", topMargin);
    settings.setValue("columnGap", columnGap);
    settings.setValue("rowGap", rowGap);
    settings.setValue("borders", borders);
    settings.endGroup();
    settings.sync();
}
