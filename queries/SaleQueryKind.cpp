#include "queries/SaleQueryKind.h"

namespace {

const QString kRule = QStringLiteral("----------------------------------------------------------");

} // namespace

SaleQueryKind SaleQueryKind::SaleOut() {
    SaleQueryKind kind;
    kind.title = QStringLiteral("销售出库查询");
    kind.table = QStringLiteral("saleout");
    kind.listCaption = QStringLiteral("销售出库单查询") + kRule +
                       QStringLiteral("说明:销售单中收款状态可在表格各下拉框中直接修改.");
    kind.detailCaption = QStringLiteral("销售出库详单查询");
    kind.stateLabel = QStringLiteral("收款状态:");
    kind.totalLabels = {QStringLiteral("总应收:"), QStringLiteral("总实收:"),
                        QStringLiteral("总未收:")};
    kind.listHeaders = {QStringLiteral("单号"),     QStringLiteral("销售客户"),
                        QStringLiteral("销售时间"), QStringLiteral("应收款"),
                        QStringLiteral("实收款"),   QStringLiteral("收款状态"),
                        QStringLiteral("员工")};
    kind.hasInvoice = true;
    kind.rowNumberShowsDetail = false;
    kind.redDeleteButton = true;
    kind.deleteWords = {QStringLiteral("确定要删除该销售单吗?"), QStringLiteral("删除销售单"),
                        QStringLiteral("本单售出的商品加回库存"),
                        QStringLiteral("本单售出的商品已加回库存")};
    kind.listPrintTitle = QStringLiteral("销售统计清单");
    kind.listPrintTotals = {QStringLiteral("总应收金额:"), QStringLiteral("总实收金额:"),
                            QStringLiteral("总未收金额:")};
    kind.detailPrintTitle = QStringLiteral("销售清单");
    kind.detailPrintLabels = {QStringLiteral("销售时间:"), QStringLiteral("应收金额:"),
                              QStringLiteral("实收金额:"), QStringLiteral("收款状态:")};
    return kind;
}

SaleQueryKind SaleQueryKind::SaleIn() {
    SaleQueryKind kind;
    kind.title = QStringLiteral("销售退货查询");
    kind.table = QStringLiteral("salein");
    kind.listCaption = QStringLiteral("销售退货单查询") + kRule +
                       QStringLiteral("说明:退货单中退款状态可在表格各下拉框中直接修改.");
    kind.detailCaption = QStringLiteral("销售退货详单查询");
    kind.stateLabel = QStringLiteral("退款状态:");
    kind.totalLabels = {QStringLiteral("总应退:"), QStringLiteral("总实退:"),
                        QStringLiteral("总未退:")};
    kind.listHeaders = {QStringLiteral("单号"),     QStringLiteral("销售客户"),
                        QStringLiteral("退货时间"), QStringLiteral("应退款"),
                        QStringLiteral("实退款"),   QStringLiteral("退款状态"),
                        QStringLiteral("员工")};
    kind.hasInvoice = false;
    kind.rowNumberShowsDetail = true;
    kind.redDeleteButton = false;
    kind.deleteWords = {QStringLiteral("确定要删除该退货单吗?"), QStringLiteral("删除退货单"),
                        QStringLiteral("本单退回的商品从库存中减去"),
                        QStringLiteral("本单退回的商品已从库存中减去")};
    kind.listPrintTitle = QStringLiteral("退货统计清单");
    kind.listPrintTotals = {QStringLiteral("总应退金额:"), QStringLiteral("总实退金额:"),
                            QStringLiteral("总未退金额:")};
    kind.detailPrintTitle = QStringLiteral("退货清单");
    kind.detailPrintLabels = {QStringLiteral("退货时间:"), QStringLiteral("应退金额:"),
                              QStringLiteral("实退金额:"), QStringLiteral("退款状态:")};
    return kind;
}
