#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class CConnection;
class QLabel;
class QStatusBar;

// The status bar's panes about the shop: where the data is (本机文件 or the server's address)
// and how many sales were saved today, read again every minute.
class ShopStatusPanes : public QObject {
    Q_OBJECT
  public:
    explicit ShopStatusPanes(QStatusBar* bar);

    QLabel* DatabasePane() const { return m_pDatabase; }
    QLabel* SalesPane() const { return m_pSales; }
    // Reads the figures again (also after a save).
    void Refresh();

    // "数据库: 本机文件" or "数据库: 服务器 192.168.1.20"; empty without a connection.
    static QString DatabaseText(const CConnection* connection);

  private:
    QLabel* m_pDatabase;
    QLabel* m_pSales;
    QTimer m_timer;
};
