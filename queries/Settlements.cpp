#include "queries/Settlements.h"

#include <QDateTime>
#include <QSysInfo>

#include "db/CConnection.h"
#include "db/CSqlReader.h"
#include "db/Db.h"
#include "db/OperatorSession.h"
#include "db/SqlDialect.h"
#include "text/HarborClock.h"

namespace {

const QString kDay = QStringLiteral("yyyy-MM-dd");

} // namespace

void RecordSettlement(const QString& table, const QString& oddnum, const Settlement& settlement) {
    Db()->Execute(
        QStringLiteral("INSERT INTO harbor_settlement (tbl, oddnum, state, receipt, settledon, "
                       "madeat, operator, workstation) VALUES (?,?,?,?,?,?,?,?)"),
        {table, oddnum, settlement.state, settlement.receipt, settlement.settledOn.toString(kDay),
         HarborNow().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
         OperatorSession::Instance().Operator().name, QSysInfo::machineHostName()});
}

Settlement LastSettlement(const QString& table, const QString& oddnum) {
    Settlement last;
    CSqlReader reader(QStringLiteral("SELECT state, receipt, settledon, operator FROM "
                                     "harbor_settlement WHERE tbl=? AND oddnum=? ORDER BY %1 DESC")
                          .arg(Db()->Dialect().RowIdColumn()),
                      {table, oddnum});
    if (reader.Next()) {
        last.state = reader.Text(0);
        last.receipt = reader.Text(1);
        last.settledOn = QDate::fromString(reader.Text(2), kDay);
        last.operatorName = reader.Text(3);
    }
    return last;
}

QString SettlementText(const Settlement& settlement) {
    if (!settlement.settledOn.isValid())
        return QString();
    return QStringLiteral("结算于 %1 实收 %2")
        .arg(settlement.settledOn.toString(kDay), settlement.receipt);
}
