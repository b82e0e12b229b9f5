#pragma once

#include <QPageSize>
#include <QRectF>
#include <QSizeF>

// Where one label of a print job lands: the page (from 0) and its rectangle on that page, in
// millimetres from the paper's top-left corner.
struct LabelPlace {
    int page = 0;
    QRectF rect;
};

// A sheet of labels as the shop's label paper has them: labels of one size in columns and rows,
// after a left and top margin, with gaps between columns and between rows (all in millimetres).
// Kept in the program's settings.
struct LabelSheet {
    QPageSize::PageSizeId paper = QPageSize::A4;
    double labelWidth = 70.0;
    double labelHeight = 37.0;
    int columns = 3;
    int rows = 8;
    double leftMargin = 0.0;
    double topMargin = 0.5;
    double columnGap = 0.0;
    double rowGap = 0.0;
    bool borders = false; // a thin frame around each label, for cutting plain paper

    int LabelsPerSheet() const { return columns * rows; }
    // The pages a job of that many labels takes (none for no labels).
    int SheetCount(int labels) const;
    // The place of label index (0 is the first) of a job: filled row by row, left to right.
    LabelPlace Place(int index) const;
    // The width and height that the margins and labels take on the paper.
    QSizeF UsedSize() const;
    // True when every label lies on the paper.
    bool FitsPaper() const;
    // True when the numbers make a sheet (sizes above zero, at least one column and row).
    bool IsValid() const;

    // The sheet last set up (the usual A4 sheet of 3 x 8 labels at first).
    static LabelSheet Load();
    void Save() const;

    bool operator==(const LabelSheet&) const = default;
};
