#include "shell/CHarborView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "db/CRecordset.h"
#include "documents/ListPrintPainter.h"
#include "documents/ListPrinter.h"
#include "shell/CHarborApp.h"
#include "shell/HomePicture.h"
#include "ui/CDbAction.h"
#include "ui/CEditTarget.h"
#include "ui/CWorkDialog.h"
#include "ui/CWorkSubWindow.h"

CHarborView::CHarborView(QWidget* parent) : QMdiArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setActivationOrder(QMdiArea::StackingOrder);
}

CHarborView::~CHarborView() = default;

// The printer system is loaded the first time something prints or sets up, not at start-up.
QPrinter& CHarborView::Printer() {
    if (!m_pPrinter) {
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_setupLayout = m_pPrinter->pageLayout();
    }
    return *m_pPrinter;
}

QRect CHarborView::WorkAreaRect() const {
    return viewport()->rect();
}

void CHarborView::UpdateWorkArea() {
    theApp.m_rcWorkArea = QRect(viewport()->mapToGlobal(QPoint(0, 0)), viewport()->size());
}

void CHarborView::paintEvent(QPaintEvent* event) {
    UpdateWorkArea();
    Q_UNUSED(event);
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(viewport()->rect(), HomePicture());
}

void CHarborView::resizeEvent(QResizeEvent* event) {
    QMdiArea::resizeEvent(event);
    UpdateWorkArea();
}

// The "编辑" popup of the view: cut, copy and paste in the focused grid or text box. A right
// click on a dialog lying on the work area belongs to that dialog, and with nothing to act on
// there is no popup.
void CHarborView::contextMenuEvent(QContextMenuEvent* event) {
    for (QMdiSubWindow* sub : subWindowList()) {
        if (sub->isVisible() && sub->geometry().contains(event->pos())) {
            event->ignore();
            return;
        }
    }
    event->accept();
    CEditTarget target = CEditTarget::Focused();
    if (!target.IsValid())
        return;
    QMenu menu(QStringLiteral("编辑"), this);
    QAction* cut = menu.addAction(QStringLiteral("剪切(&T)\tCtrl+X"));
    QAction* copy = menu.addAction(QStringLiteral("复制(&C)\tCtrl+C"));
    QAction* paste = menu.addAction(QStringLiteral("粘贴(&P)\tCtrl+V"));
    cut->setEnabled(target.CanCut());
    copy->setEnabled(target.CanCopy());
    paste->setEnabled(target.CanPaste());
    const QPointer<QWidget> focus = QApplication::focusWidget();
    QAction* chosen = menu.exec(event->globalPos());
    if (focus && !focus->hasFocus()) { // the popup had the keyboard; give it back
        focus->activateWindow();
        focus->setFocus(Qt::PopupFocusReason);
    }
    if (chosen == cut)
        target.Cut();
    else if (chosen == copy)
        target.Copy();
    else if (chosen == paste)
        target.Paste();
}

QRect CHarborView::ColumnPlacement(int width) const {
    // Left edge (right edge of the work area - width) / 2, in screen terms; full height.
    const QRect area = theApp.m_rcWorkArea;
    const int right = area.left() + area.width();
    const int left = (right - width) / 2 - area.left();
    return QRect(qMax(0, left), 0, width, WorkAreaRect().height());
}

void CHarborView::ShowDialog(CWorkDialog* dialog, bool created) {
    QWidget* host = dialog->HostWindow();
    if (created) {
        auto* sub = new CWorkSubWindow(dialog);
        addSubWindow(sub);
        host = sub;
    }
    UpdateWorkArea();
    if (dialog->GetPlacement() == CWorkDialog::Placement::CoverWorkArea) {
        host->setGeometry(WorkAreaRect());
    } else if (created) {
        const int width = qMin(WorkAreaRect().width(), host->sizeHint().width());
        host->setGeometry(ColumnPlacement(width));
    }
    dialog->show();
    host->show();
    host->raise();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(host))
        setActiveSubWindow(sub);
    dialog->setFocus();
}

ListPrintData& CHarborView::PrintList(int kind) {
    return m_aList[qBound(1, kind, 4) - 1];
}

void CHarborView::SetPrintOutputFile(const QString& path) {
    Printer().setOutputFormat(QPrinter::PdfFormat);
    Printer().setOutputFileName(path);
}

void CHarborView::LoadCompanyTexts() {
    static const char* const prefixes[6] = {"(1) 电话：", "(2) 地址：", "(3) 银行帐号：",
                                            "(4) ",       "(5) ",       "(6) "};
    static const char* const fields[6] = {"telephone", "address",  "bank",
                                          "remarks1",  "remarks2", "remarks3"};
    RunDbRead(this, QStringLiteral("读取公司信息"), [&] {
        CRecordset rs;
        rs.Open(QStringLiteral("SELECT * FROM companyinfo"));
        if (rs.GetRecordCount() == 1) {
            m_strCompanyName = rs.GetCollect(QStringLiteral("name"));
            for (int i = 0; i < 6; ++i) {
                const QString value = rs.GetCollect(QString::fromLatin1(fields[i]));
                m_strCompanyLine[i] =
                    value.isEmpty() ? QString() : QString::fromUtf8(prefixes[i]) + value;
            }
        }
        rs.Close();
    });
}

void CHarborView::BeginPrinting(QPrinter& printer) {
    const ListPrintData& list = PrintList(m_nPrintKind);
    const int dpi = printer.logicalDpiY();
    const float s = ListPrinter::Scale(dpi);
    if (m_bPaged) {
        printer.setPageSize(m_setupLayout.pageSize());
        printer.setPageOrientation(m_setupLayout.orientation());
        printer.setPageMargins(m_setupLayout.margins(), m_setupLayout.units());
        m_nPageHeight = printer.pageRect(QPrinter::DevicePixel).toRect().height();
        m_nPageCount =
            ListPrinter::PagedPageCount(m_nPrintKind, list.m_nListRows, s, m_nPageHeight);
    } else {
        const int length = ListPrinter::SinglePageLength(m_nPrintKind, list.m_nListRows, s);
        const QSizeF paper(208.0, ListPrinter::TenthsOfMillimetre(length, dpi) / 10.0);
        const QPageSize size(paper, QPageSize::Millimeter, QStringLiteral("清单"),
                             QPageSize::ExactMatch);
        // No margins, so that the printable height holds the whole list.
        printer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF()));
        m_nPageHeight = printer.pageRect(QPrinter::DevicePixel).toRect().height();
        m_nPageCount = 1;
    }
    m_nPageWidth = printer.pageRect(QPrinter::DevicePixel).toRect().width();
}

void CHarborView::PrintPages(QPrinter* printer) {
    if (m_nPrintKind < 1 || m_nPrintKind > 4)
        return;
    QPainter painter;
    if (!painter.begin(printer))
        return;
    const ListPrintPage page{m_nPageWidth, m_nPageHeight, printer->logicalDpiY(), m_bPaged};
    for (int number = 1; number <= m_nPageCount; ++number) {
        if (number > 1)
            printer->newPage();
        // Every page shows its own slice of one tall drawing.
        const int top = m_nPageHeight * (number - 1);
        painter.resetTransform();
        painter.translate(0, -top);
        painter.setClipRect(QRect(0, top, m_nPageWidth, m_nPageHeight));
        LoadCompanyTexts();
        QStringList lines(std::begin(m_strCompanyLine), std::end(m_strCompanyLine));
        ListPrinter printerOfList(PrintList(m_nPrintKind), m_strCompanyName, lines);
        ListPrintPainter canvas(painter);
        const int pages = printerOfList.Draw(canvas, page);
        if (number == 1) {
            m_nPageCount = pages;
            printer->setFromTo(1, pages);
        }
    }
    painter.end();
}

void CHarborView::OnFilePrint() {
    if (m_nPrintKind < 1)
        return;
    BeginPrinting(Printer());
    QPrintDialog dialog(&Printer(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    BeginPrinting(Printer());
    PrintPages(&Printer());
}

void CHarborView::OnFilePrintDirect() {
    if (m_nPrintKind < 1)
        return;
    BeginPrinting(Printer());
    PrintPages(&Printer());
}

void CHarborView::OnFilePrintPreview() {
    BeginPrinting(Printer());
    QPrintPreviewDialog preview(&Printer(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
        BeginPrinting(*printer);
        PrintPages(printer);
    });
    preview.exec();
}

void CHarborView::OnFilePrintSetup() {
    // The setup shows the paper of the last setup, not a single-page job's custom length.
    QPrinter& printer = Printer(); // made first: it reads the paper of the last setup
    printer.setPageLayout(m_setupLayout);
    QPageSetupDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        m_setupLayout = printer.pageLayout();
}
