#include "export/ReportPrint.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStyle>
#include <QToolBar>

#include "db/CSqlReader.h"
#include "text/HarborClock.h"
#include "ui/HarborMessageBox.h"

namespace {

// Widths are planned in character cells (a Chinese character counts two).
constexpr int kPortraitCells = 96;
constexpr int kCellPadding = 3;
constexpr double kRowFactor = 1.7; // row height in lines of body text

QFont TitleFont() {
    QFont font(QStringLiteral("微软雅黑"));
    font.setPointSizeF(16);
    font.setBold(true);
    return font;
}

QFont BodyFont() {
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(10);
    return font;
}

QList<int> ColumnCells(const ExportTable& table) {
    QList<int> cells;
    // A long list read from its source is sized on its first block.
    ExportRowCursor cursor(table);
    const QList<QStringList>& sized = cursor.FirstRows();
    for (int col = 0; col < table.columns.size(); ++col) {
        int widest = DisplayWidth(table.columns.at(col).header);
        for (const QStringList& row : sized)
            widest = qMax(widest, DisplayWidth(row.value(col)));
        cells.append(qMin(widest, 60) + kCellPadding);
    }
    return cells;
}

// Lays the report out page by page; draws when a painter is given.
class ReportLayout {
  public:
    ReportLayout(const Report& report, QPaintDevice* device, const QRect& page)
        : m_report(report), m_page(page), m_title(TitleFont(), device), m_body(BodyFont(), device) {
        m_nRowHeight = int(m_body.height() * kRowFactor);
        const QList<int> cells = ColumnCells(report.table);
        int total = 0;
        for (int c : cells)
            total += c;
        int x = 0;
        for (int c : cells) {
            m_columnX.append(x);
            x += total > 0 ? page.width() * c / total : 0;
        }
        m_columnX.append(page.width());
    }

    // Runs the layout; returns the number of pages.
    int Run(QPainter* painter, QPrinter* printer, int pages) {
        m_pPainter = painter;
        m_nPages = pages;
        m_nPage = 1;
        m_y = 0;
        Header();
        TableHeader();
        const int footer = m_body.height() * 2; // the page number
        // The rows a block at a time: a list read from its source is never held whole.
        ExportRowCursor cursor(m_report.table);
        while (const QStringList* row = cursor.Next()) {
            if (m_y + m_nRowHeight > m_page.height() - footer) {
                NewPage(printer);
                TableHeader();
            }
            Row(*row, false);
        }
        m_y += m_body.height() / 2;
        QStringList footing = m_report.footing;
        if (!cursor.Error().isEmpty()) // the printout says it stops short
            footing.prepend(QStringLiteral("以下的行未能读出: %1").arg(cursor.Error()));
        for (const QString& line : std::as_const(footing)) {
            if (m_y + m_nRowHeight > m_page.height() - footer)
                NewPage(printer);
            Text(QRect(0, m_y, m_page.width(), m_nRowHeight), Qt::AlignLeft, line);
            m_y += m_nRowHeight;
        }
        PageNumber();
        return m_nPage;
    }

  private:
    void Header() {
        if (m_pPainter)
            m_pPainter->setFont(TitleFont());
        const int titleHeight = m_title.height() * 3 / 2;
        if (m_pPainter)
            m_pPainter->drawText(QRect(0, m_y, m_page.width(), titleHeight), Qt::AlignCenter,
                                 m_report.title);
        m_y += titleHeight;
        if (m_pPainter)
            m_pPainter->setFont(BodyFont());
        for (const QString& line : m_report.letterhead) {
            Text(QRect(0, m_y, m_page.width(), m_body.height() * 3 / 2), Qt::AlignHCenter, line);
            m_y += m_body.height() * 3 / 2;
        }
        m_y += m_body.height() / 2;
        for (const QString& line : m_report.heading) {
            Text(QRect(0, m_y, m_page.width(), m_nRowHeight), Qt::AlignLeft, line);
            m_y += m_nRowHeight;
        }
    }

    void TableHeader() {
        QStringList headers;
        for (const ExportColumn& column : m_report.table.columns)
            headers.append(column.header);
        Row(headers, true);
    }

    void Row(const QStringList& texts, bool header) {
        if (m_pPainter) {
            const int right = m_columnX.last() - 1;
            if (header)
                m_pPainter->drawLine(0, m_y, right, m_y);
            m_pPainter->drawLine(0, m_y + m_nRowHeight, right, m_y + m_nRowHeight);
            for (int x : m_columnX)
                m_pPainter->drawLine(qMin(x, right), m_y, qMin(x, right), m_y + m_nRowHeight);
        }
        const int pad = m_body.averageCharWidth() / 2 + 1;
        for (int col = 0; col + 1 < m_columnX.size(); ++col) {
            const QRect cell(m_columnX.at(col) + pad, m_y,
                             m_columnX.at(col + 1) - m_columnX.at(col) - 2 * pad, m_nRowHeight);
            const bool number = m_report.table.columns.value(col).kind == ExportKind::Number;
            const Qt::Alignment align = header   ? Qt::AlignHCenter
                                        : number ? Qt::AlignRight
                                                 : Qt::AlignLeft;
            Text(cell, align, m_body.elidedText(texts.value(col), Qt::ElideRight, cell.width()));
        }
        m_y += m_nRowHeight;
    }

    void Text(const QRect& rect, Qt::Alignment align, const QString& text) {
        if (m_pPainter)
            m_pPainter->drawText(rect, int(align | Qt::AlignVCenter) | Qt::TextSingleLine, text);
    }

    void PageNumber() {
        if (m_nPages > 1)
            Text(QRect(0, m_page.height() - m_body.height() * 3 / 2, m_page.width(),
                       m_body.height() * 3 / 2),
                 Qt::AlignHCenter,
                 QStringLiteral("第 %1 页 / 共 %2 页").arg(m_nPage).arg(m_nPages));
    }

    void NewPage(QPrinter* printer) {
        PageNumber();
        if (m_pPainter && printer)
            printer->newPage();
        ++m_nPage;
        m_y = 0;
    }

    const Report& m_report;
    QRect m_page;
    QFontMetrics m_title;
    QFontMetrics m_body;
    QList<int> m_columnX;
    int m_nRowHeight = 0;
    QPainter* m_pPainter = nullptr;
    int m_nPages = 1;
    int m_nPage = 1;
    int m_y = 0;
};

} // namespace

QStringList ShopLetterhead() {
    CSqlReader reader(QStringLiteral("SELECT name, telephone, address FROM companyinfo"));
    if (!reader.Next())
        return {};
    QStringList contact;
    if (!reader.Text(2).isEmpty())
        contact << QStringLiteral("地址: %1").arg(reader.Text(2));
    if (!reader.Text(1).isEmpty())
        contact << QStringLiteral("电话: %1").arg(reader.Text(1));
    QStringList lines;
    if (!reader.Text(0).isEmpty())
        lines << reader.Text(0);
    if (!contact.isEmpty())
        lines << contact.join(QStringLiteral("    "));
    return lines;
}

bool ReportNeedsLandscape(const Report& report) {
    int total = 0;
    for (int cells : ColumnCells(report.table))
        total += cells;
    return total > kPortraitCells;
}

int PrintReport(QPrinter& printer, const Report& report) {
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    ReportLayout layout(report, &printer, QRect(0, 0, page.width(), page.height()));
    const int pages = layout.Run(nullptr, nullptr, 1);
    painter.setPen(QPen(Qt::black, qMax(1, printer.resolution() / 150)));
    painter.setFont(BodyFont());
    layout.Run(&painter, &printer, pages);
    painter.end();
    return pages;
}

namespace {

void SetUpPaper(QPrinter& printer, const Report& report) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(ReportNeedsLandscape(report) ? QPageLayout::Landscape
                                                            : QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

} // namespace

void PreviewReport(QWidget* parent, const Report& report) {
    QPrinter printer(QPrinter::HighResolution);
    SetUpPaper(printer, report);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(report.title + QStringLiteral(" - 打印预览"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter* target) { PrintReport(*target, report); });
    if (auto* tools = preview.findChild<QToolBar*>()) {
        tools->addSeparator();
        QAction* save = tools->addAction(preview.style()->standardIcon(QStyle::SP_DialogSaveButton),
                                         QStringLiteral("保存为PDF文件"));
        QObject::connect(save, &QAction::triggered, &preview,
                         [&] { ChooseReportPdf(&preview, report); });
    }
    preview.resize(900, 700);
    preview.exec();
}

bool SaveReportPdf(const Report& report, const QString& path) {
    QFile::remove(path);
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(path);
    SetUpPaper(pdf, report);
    return PrintReport(pdf, report) > 0 && QFileInfo(path).size() > 0;
}

void ChooseReportPdf(QWidget* parent, const Report& report) {
    QFileDialog dialog(parent, QStringLiteral("保存为PDF文件"),
                       QDir::home().filePath(report.title + QLatin1Char('_') +
                                             HarborToday().toString(Qt::ISODate) +
                                             QStringLiteral(".pdf")),
                       QStringLiteral("PDF 文件 (*.pdf)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().first();
    if (SaveReportPdf(report, path))
        HarborMessageBox(parent, QStringLiteral("已保存到 %1").arg(QDir::toNativeSeparators(path)),
                         MsgIcon::Information);
    else
        HarborMessageBox(parent, QStringLiteral("不能写入文件“%1”，请换一个文件夹或文件名")
                                     .arg(QDir::toNativeSeparators(path)));
}
