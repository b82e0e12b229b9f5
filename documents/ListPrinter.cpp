#include "documents/ListPrinter.h"

#include <QVector>
#include <cmath>

namespace {

// A printed column: its source array (0 = the row number), its boundaries in column units.
struct PrintColumn {
    int array;
    double left;
    double right;
    QString header; // printed instead of the array's own header when set
    int maxChars = -1;
};

int UnitCount(int kind) {
    switch (kind) {
    case 1:
        return 13;
    case 2:
        return 9;
    case 3:
        return 19;
    default:
        return 15;
    }
}

QVector<PrintColumn> Columns(int kind) {
    const QString number = QStringLiteral("序号");
    const QString name = QStringLiteral("商品名称");
    switch (kind) {
    case 1:
        return {{0, 0, 1, number}, {2, 1, 5, name}, {3, 5, 7, {}},   {4, 7, 8, {}},   {5, 8, 9, {}},
                {6, 9, 10, {}},    {8, 10, 11, {}}, {9, 11, 12, {}}, {10, 12, 13, {}}};
    case 2:
        return {{0, 0, 1, number}, {2, 1, 3.5, name}, {3, 3.5, 5, {}}, {4, 5, 6, {}},
                {5, 6, 7, {}},     {6, 7, 8, {}},     {7, 8, 9, {}}};
    case 3:
        return {{0, 0, 1, number}, {1, 1, 4, {}},   {2, 4, 8, {}},   {3, 8, 11, {}, 10},
                {4, 11, 13, {}},   {5, 13, 15, {}}, {6, 15, 17, {}}, {7, 17, 19, {}}};
    default:
        return {{0, 0, 1, number}, {1, 1, 4, {}},   {2, 4, 8, {}},
                {3, 8, 11, {}},    {4, 11, 13, {}}, {5, 13, 15, {}}};
    }
}

// The pen of one drawing: where it stands and on which page.
class ListLayout {
  public:
    ListLayout(ListPrintCanvas& canvas, const ListPrintPage& page, int kind)
        : canvas(canvas), page(page), s(ListPrinter::Scale(page.dpiY)) {
        h = 50.0 * s;
        x0 = 60.0 * s;
        x1 = page.width - 60.0 * s;
        u = (x1 - x0) / UnitCount(kind);
    }

    double Bottom(double margin) const { return double(pageNo) * page.height - margin; }

    // Before a table row: a row running into the page bottom starts the next page.
    void BreakBeforeRow() {
        if (!page.paged || y <= Bottom(1.5 * h))
            return;
        y = double(pageNo) * page.height + 1.5 * h;
        Rule();
        ++pageNo;
    }

    // Before a text line under the table.
    void BreakBeforeLine() {
        if (!page.paged || y <= Bottom(h))
            return;
        y = double(pageNo) * page.height + 1.5 * h;
        ++pageNo;
    }

    void Rule() { canvas.Line(x0, y, x1, y); }

    ListPrintCanvas& canvas;
    const ListPrintPage& page;
    float s;
    double h = 0, x0 = 0, x1 = 0, u = 0;
    double y = 0;
    int pageNo = 1;
};

void DrawHeads(ListLayout& pen, const ListPrintData& list) {
    const double third = pen.page.width / 3.0;
    const double half = pen.page.width / 2.0;
    auto text = [&pen](double x, Qt::Alignment align, const QString& value) {
        pen.canvas.Text(x, pen.y, align, value);
    };
    switch (list.Kind()) {
    case 3:
        text(pen.x0, Qt::AlignLeft, list.Head(0));
        pen.y += pen.h;
        text(pen.x0, Qt::AlignLeft, list.Head(1));
        text(half, Qt::AlignHCenter, list.Head(2));
        text(pen.x1, Qt::AlignRight, list.Head(3));
        break;
    case 4:
        text(pen.x0, Qt::AlignLeft, list.Head(0));
        text(pen.x1, Qt::AlignRight, list.Head(1));
        break;
    default:
        text(pen.x0, Qt::AlignLeft, list.Head(0));
        text(third, Qt::AlignHCenter, list.Head(1));
        text(pen.x1, Qt::AlignRight, list.Head(2));
        break;
    }
}

QString CellText(const ListPrintData& list, const PrintColumn& column, int row) {
    if (column.array == 0)
        return row == 0 ? column.header : QString::asprintf("%d", row);
    QString text =
        row == 0 && !column.header.isEmpty() ? column.header : list.Cell(column.array, row);
    return column.maxChars >= 0 ? text.left(column.maxChars) : text;
}

void DrawTable(ListLayout& pen, const ListPrintData& list) {
    const QVector<PrintColumn> columns = Columns(list.Kind());
    for (int row = 0; row < list.m_nListRows; ++row) {
        pen.BreakBeforeRow();
        pen.y += pen.h;
        pen.Rule();
        for (const PrintColumn& column : columns) {
            const double left = pen.x0 + column.left * pen.u;
            const double centre = pen.x0 + (column.left + column.right) / 2 * pen.u;
            pen.canvas.Line(left, pen.y, left, pen.y - pen.h);
            pen.canvas.Text(centre, pen.y - 0.75 * pen.h, Qt::AlignHCenter,
                            CellText(list, column, row));
        }
        pen.canvas.Line(pen.x1, pen.y, pen.x1, pen.y - pen.h);
    }
}

void DrawSummary(ListLayout& pen, const ListPrintData& list, const QStringList& contactLines) {
    const int kind = list.Kind();
    if (kind != 1 && kind != 2)
        return;
    pen.y += 0.5 * pen.h;
    pen.BreakBeforeLine();
    const double offsets[] = {0, 300, 600, 820, 1000};
    for (int i = 0; i < list.m_strSum.size() && i < 5; ++i)
        pen.canvas.Text(pen.x0 + offsets[i] * pen.s, pen.y, Qt::AlignLeft, list.Sum(i));
    if (kind != 1)
        return;
    // The contact lines start one body line below the summary, which they would overlap at 0.4·h.
    pen.y += 0.6 * pen.h;
    pen.canvas.SetFont(ListPrintCanvas::Font::Contact, 25.0 * pen.s);
    for (int i = 0; i < 6; ++i) {
        if (i > 0)
            pen.y += 0.6 * pen.h;
        pen.BreakBeforeLine();
        pen.canvas.Text(pen.x0, pen.y, Qt::AlignLeft, contactLines.value(i));
    }
}

} // namespace

ListPrinter::ListPrinter(const ListPrintData& list, const QString& companyName,
                         const QStringList& companyLines)
    : m_list(list), m_strCompanyName(companyName), m_strCompanyLine(companyLines) {}

float ListPrinter::Scale(int dpiY) {
    return float(dpiY) / 180.0f;
}

int ListPrinter::PagedPageCount(int kind, int rows, float s, int pageHeight) {
    if (pageHeight <= 0)
        return 1;
    const double extra = kind == 1 ? 440.0 : 200.0;
    return int((50.0 * s * rows + s * extra) / pageHeight) + 1;
}

int ListPrinter::SinglePageLength(int kind, int rows, float s) {
    const double extra = kind == 1 ? 460.0 : kind == 4 ? 280.0 : 320.0;
    const double length = 50.0 * s * rows + s * extra;
    // A paper length beyond what a page size can hold is cut there.
    return int(qMin(length, 1.0e9));
}

int ListPrinter::TenthsOfMillimetre(int length, int dpi) {
    if (dpi <= 0)
        return 0;
    return int(qint64(length) * 254 / dpi);
}

int ListPrinter::Draw(ListPrintCanvas& canvas, const ListPrintPage& page) const {
    const int kind = m_list.Kind();
    if (kind < 1 || kind > 4)
        return 1;
    ListLayout pen(canvas, page, kind);
    pen.y = pen.h;
    canvas.SetFont(ListPrintCanvas::Font::Title, pen.h);
    canvas.Text(page.width / 2.0, pen.y, Qt::AlignHCenter,
                m_strCompanyName + m_list.m_strListTitle);
    pen.y += 2.5 * pen.h;
    canvas.SetFont(ListPrintCanvas::Font::Body, 30.0 * pen.s);
    DrawHeads(pen, m_list);
    pen.y += pen.h;
    pen.Rule();
    DrawTable(pen, m_list);
    DrawSummary(pen, m_list, m_strCompanyLine);
    if (!page.paged || page.height <= 0)
        return 1;
    return int(std::floor(pen.y / page.height)) + 1;
}
