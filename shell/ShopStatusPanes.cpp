#include "shell/ShopStatusPanes.h"

#include <QDate>
#include <QLabel>
#include <QStatusBar>

#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/CSqlReader.h"
#include "shell/CHarborApp.h"
#include "text/HarborClock.h"
#include "documents/Oddnum.h"

namespace {

constexpr int kRefreshMs = 60 * 1000;

// The sales-out documents whose number carries today's date.
QString TodaysSales() {
    const QString count =
        SqlScalar(QStringLiteral("SELECT count(DISTINCT oddnum) FROM saleout WHERE oddnum LIKE ?"),
                  {OddnumPrefix(HarborToday()) + QLatin1Char('%')});
    return count.isEmpty() ? QStringLiteral("0") : count;
}

} // namespace

ShopStatusPanes::ShopStatusPanes(QStatusBar* bar)
    : QObject(bar), m_pDatabase(new QLabel(bar)), m_pSales(new QLabel(bar)) {
    m_pDatabase->setObjectName(QStringLiteral("databasePane"));
    m_pSales->setObjectName(QStringLiteral("salesPane"));
    bar->addPermanentWidget(m_pSales);
    bar->addPermanentWidget(m_pDatabase);
    connect(&m_timer, &QTimer::timeout, this, &ShopStatusPanes::Refresh);
    m_timer.start(kRefreshMs);
    Refresh();
}

QString ShopStatusPanes::DatabaseText(const CConnection* connection) {
    if (!connection || !connection->IsOpen())
        return QString();
    return connection->IsServer()
               ? QStringLiteral("数据库: 服务器 %1").arg(connection->ServerHost())
               : QStringLiteral("数据库: 本机文件");
}

// Without a database (or while it is away) the panes say nothing rather than stop the program.
void ShopStatusPanes::Refresh() {
    const CConnection* connection = theApp.m_pConnection.get();
    m_pDatabase->setText(DatabaseText(connection));
    m_pDatabase->setToolTip(connection && connection->IsOpen() ? connection->Where() : QString());
    if (!connection || !connection->IsOpen() || connection->InTransaction()) {
        m_pSales->clear();
        return;
    }
    try {
        m_pSales->setText(QStringLiteral("今日销售: %1 单").arg(TodaysSales()));
    } catch (const CDbException&) {
        m_pSales->clear();
    }
}
