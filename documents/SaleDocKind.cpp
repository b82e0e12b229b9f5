#include "documents/SaleDocKind.h"

SaleDocKind SaleDocKind::SaleOut() {
    SaleDocKind kind;
    kind.title = QStringLiteral("销售出库");
    kind.pickTarget = 2;
    kind.table = QStringLiteral("saleout");
    kind.frameCaption = QStringLiteral("销售出库操作");
    kind.timeLabel = QStringLiteral("销售时间:");
    kind.receivableLabel = QStringLiteral("应收:");
    kind.receiptLabel = QStringLiteral("实收:");
    kind.stateLabel = QStringLiteral("收款状态:");
    kind.barcodeLabel = QStringLiteral("商品条码信息:");
    kind.closeQuestion = QStringLiteral("销售单尚未保存,是否先保存?");
    kind.closeCaption = QStringLiteral("销售单保存");
    kind.recomputeColumns = {kLinePrice, kLineCount, kLineDiscount, kLineRemark};
    return kind;
}

SaleDocKind SaleDocKind::SaleIn() {
    SaleDocKind kind;
    kind.title = QStringLiteral("销售退货");
    kind.pickTarget = 3;
    kind.table = QStringLiteral("salein");
    kind.frameCaption = QStringLiteral("销售退货操作");
    kind.timeLabel = QStringLiteral("退货时间:");
    kind.receivableLabel = QStringLiteral("应退:");
    kind.receiptLabel = QStringLiteral("实退:");
    kind.stateLabel = QStringLiteral("退款状态:");
    kind.barcodeLabel = QStringLiteral("选择商品:");
    kind.closeQuestion = QStringLiteral("退货单尚未保存,是否先保存?");
    kind.closeCaption = QStringLiteral("退货单保存");
    kind.recomputeColumns = {kLineCode,  kLineSpec,     kLinePrice,
                             kLineCount, kLineDiscount, kLineRemark};
    kind.derivesPrice = false;
    kind.storesPcsRemarks = false;
    return kind;
}
