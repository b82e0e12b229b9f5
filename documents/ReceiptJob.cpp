#include "documents/ReceiptJob.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "documents/ReceiptReader.h"
#include "receipt/EscPos.h"
#include "receipt/PrinterPort.h"
#include "receipt/ReceiptLayout.h"
#include "receipt/ReceiptPrint.h"
#include "receipt/ReceiptSettings.h"
#include "ui/CDbAction.h"
#include "ui/HarborMessageBox.h"

namespace {

const QString kCaption = QStringLiteral("打印小票");

QString& OutputFile() {
    static QString path;
    return path;
}

// Through Qt: the chosen printer, the default one, or the print dialog when there is none.
bool PrintThroughQt(QWidget* parent, const ReceiptSettings& settings, const ReceiptLayout& layout) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(kCaption);
    if (!OutputFile().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(OutputFile());
    } else if (!settings.printerName.isEmpty()) {
        printer.setPrinterName(settings.printerName);
    } else if (QPrinterInfo::defaultPrinter().isNull()) {
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() != QDialog::Accepted)
            return false;
    }
    if (PrintReceiptPage(printer, layout))
        return true;
    HarborMessageBox(parent,
                     QStringLiteral("小票打印失败: 打印机 %1 不能使用").arg(printer.printerName()),
                     MsgIcon::Exclamation, MsgButtons::Ok, kCaption);
    return false;
}

bool PrintThroughPort(QWidget* parent, const ReceiptSettings& settings, const ReceiptLayout& layout,
                      bool settledSale) {
    const QByteArray bytes =
        EscPos::ReceiptBytes(EscPos::Render(layout), settledSale && settings.openDrawer);
    const QString problem = SendToPrinterPort(settings.device, bytes);
    if (problem.isEmpty())
        return true;
    HarborMessageBox(parent, problem, MsgIcon::Exclamation, MsgButtons::Ok, kCaption);
    return false;
}

} // namespace

void SetReceiptOutputFile(const QString& path) {
    OutputFile() = path;
}

bool PrintReceipt(QWidget* parent, const DocumentForm& kind, const QString& oddnum,
                  bool settledSale) {
    ReceiptDocument receipt;
    bool found = false;
    if (!RunDbRead(parent, kCaption, [&] { found = ReadReceipt(kind, oddnum, &receipt); }))
        return false;
    if (!found) {
        HarborMessageBox(parent, QStringLiteral("单号%1没有保存的单据,不能打印小票").arg(oddnum),
                         MsgIcon::Exclamation, MsgButtons::Ok, kCaption);
        return false;
    }
    const ReceiptSettings settings = ReceiptSettings::Load();
    const ReceiptLayout layout(receipt, settings.rollMm);
    if (settings.output == ReceiptSettings::Output::EscPos)
        return PrintThroughPort(parent, settings, layout, settledSale);
    return PrintThroughQt(parent, settings, layout);
}
