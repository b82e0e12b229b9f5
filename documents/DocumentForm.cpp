#include "documents/DocumentForm.h"

namespace {

// What tells the two sales forms apart besides their features.
struct SaleTexts {
    DocumentKind kind;
    const char* title;
    int pickTarget;
    const char* table;
    const char* frameCaption;
    const char* timeLabel;
    const char* receivableLabel;
    const char* receiptLabel;
    const char* stateLabel;
    const char* closeQuestion;
    const char* closeCaption;
};

constexpr SaleTexts kSaleOut{
    DocumentKind::SaleOut, "销售出库", 2,       "saleout",   "销售出库操作",
    "销售时间:",           "应收:",    "实收:", "收款状态:", "销售单尚未保存,是否先保存?",
    "销售单保存"};
constexpr SaleTexts kSaleIn{
    DocumentKind::SaleIn, "销售退货", 3,       "salein",    "销售退货操作",
    "退货时间:",          "应退:",    "实退:", "退款状态:", "退货单尚未保存,是否先保存?",
    "退货单保存"};

// The headers of the line number and of the product, price and quantity columns every form's
// table starts with.
QStringList ProductHeaders() {
    return {QString(),
            QStringLiteral("商品名称"),
            QStringLiteral("商品简称"),
            QStringLiteral("条形码"),
            QStringLiteral("包装规格"),
            QStringLiteral("单价"),
            QStringLiteral("数量")};
}

// The texts and the line table of a sales form; the return form changes some of its features.
DocumentForm SaleForm(const SaleTexts& texts) {
    DocumentForm form;
    form.kind = texts.kind;
    form.title = QString::fromUtf8(texts.title);
    form.pickTarget = texts.pickTarget;
    form.table = QString::fromUtf8(texts.table);
    form.frameCaption = QString::fromUtf8(texts.frameCaption);
    form.timeLabel = QString::fromUtf8(texts.timeLabel);
    form.receivableLabel = QString::fromUtf8(texts.receivableLabel);
    form.receiptLabel = QString::fromUtf8(texts.receiptLabel);
    form.stateLabel = QString::fromUtf8(texts.stateLabel);
    form.closeQuestion = QString::fromUtf8(texts.closeQuestion);
    form.closeCaption = QString::fromUtf8(texts.closeCaption);
    form.partyLabel = QStringLiteral("销售客户:");
    form.partyButton = QStringLiteral("选择/新增客户");
    form.partyTable = QStringLiteral("customer");
    form.partyLookup = QStringLiteral("查找客户");
    form.states = {QStringLiteral("结清"), QStringLiteral("未结"), QStringLiteral("欠款")};
    form.saveAction = QStringLiteral("保存单据");
    form.headers = ProductHeaders();
    form.headers << QStringLiteral("折扣") << QStringLiteral("金额") << QStringLiteral("件数")
                 << QStringLiteral("备注");
    form.widths = {25, 205, 125, 95, 80, 70, 50, 60, 70, 50, 90};
    form.columns = LineColumns{kLineName,  kLineShortName, kLineCode,   kLineSpec, kLinePrice,
                               kLineCount, kLineDiscount,  kLineAmount, kLinePcs,  kLineRemark};
    return form;
}

} // namespace

DocumentForm DocumentForm::SaleOut() {
    DocumentForm form = SaleForm(kSaleOut);
    form.recomputeColumns = {kLinePrice, kLineCount, kLineDiscount, kLineRemark};
    form.checksPrices = true;
    return form;
}

DocumentForm DocumentForm::SaleIn() {
    DocumentForm form = SaleForm(kSaleIn);
    form.recomputeColumns = {kLineCode,  kLineSpec,     kLinePrice,
                             kLineCount, kLineDiscount, kLineRemark};
    form.derivesPrice = false;
    form.storesPcsRemarks = false;
    form.returnsFromSale = true;
    return form;
}

DocumentForm DocumentForm::Entry() {
    DocumentForm form;
    form.kind = DocumentKind::Entry;
    form.title = QStringLiteral("采购入库");
    form.pickTarget = 1;
    form.table = QStringLiteral("entry");
    form.frameCaption = QStringLiteral("商品入库操作");
    form.partyLabel = QStringLiteral("供货商:");
    form.partyButton = QStringLiteral("选择/新增供货商");
    form.partyTable = QStringLiteral("supplier");
    form.partyLookup = QStringLiteral("查找供货商");
    form.dateLabel = QStringLiteral("供货日期:");
    form.receivableLabel = QStringLiteral("本单金额:");
    form.stateLabel = QStringLiteral("付款状态:");
    form.states = {QStringLiteral("未付"), QStringLiteral("已付")};
    form.closeQuestion = QStringLiteral("销售单尚未保存,是否先保存?");
    form.closeCaption = QStringLiteral("销售单保存");
    form.saveAction = QStringLiteral("保存入库单");
    form.width = 1280;
    form.headers = ProductHeaders();
    form.headers << QStringLiteral("金额");
    form.widths = {25, 305, 180, 95, 80, 65, 65, 65};
    form.columns.name = kEntryName;
    form.columns.shortName = kEntryShortName;
    form.columns.code = kEntryCode;
    form.columns.spec = kEntrySpec;
    form.columns.price = kEntryPrice;
    form.columns.count = kEntryCount;
    form.columns.amount = kEntryAmount;
    form.recomputeColumns = {kEntryPrice, kEntryCount};
    form.typedCode = false;
    form.catalogPrice = false;
    form.derivesPrice = false;
    form.storesPcsRemarks = false;
    form.counter = false;
    form.hasDate = true;
    form.listKind = 2;
    return form;
}
