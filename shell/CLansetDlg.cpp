#include "shell/CLansetDlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "db/LansetFile.h"
#include "shell/CHarborApp.h"
#include "ui/HarborMessageBox.h"

CLansetDlg::CLansetDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("局域网连接设置"));
    m_pLocal = new QRadioButton(QStringLiteral("使用本机数据库"), this);
    m_pLan = new QRadioButton(QStringLiteral("使用局域网主机数据库"), this);
    auto* group = new QButtonGroup(this);
    group->addButton(m_pLocal, 0);
    group->addButton(m_pLan, 1);

    m_pAddress = new QLineEdit(this);
    m_pAddress->setObjectName(QStringLiteral("hostAddress"));
    const QString octet = QStringLiteral("(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])");
    // An address as typed or pasted, blanks around it and a ":port" after it allowed.
    m_pAddress->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^\\s*%1(\\.%1){0,3}(:[0-9]{0,5})?\\s*$").arg(octet)),
        m_pAddress));
    m_pAddress->setPlaceholderText(QStringLiteral("0.0.0.0"));
    m_pAddress->setMinimumWidth(160);

    auto* hostBox = new QGroupBox(QStringLiteral("局域网主机设置"), this);
    auto* hostLayout = new QHBoxLayout(hostBox);
    hostLayout->addWidget(new QLabel(QStringLiteral("主机IP地址:"), hostBox));
    hostLayout->addWidget(m_pAddress, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* save = buttons->addButton(QStringLiteral("保存"), QDialogButtonBox::ActionRole);
    save->setDefault(true);
    QPushButton* quit = buttons->addButton(QStringLiteral("退出"), QDialogButtonBox::RejectRole);
    save->setObjectName(QStringLiteral("save"));
    quit->setObjectName(QStringLiteral("quit"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pLocal);
    layout->addWidget(m_pLan);
    layout->addWidget(hostBox);
    layout->addWidget(buttons);
    setMinimumWidth(420);

    connect(m_pLocal, &QRadioButton::clicked, this, &CLansetDlg::OnModeClicked);
    connect(m_pLan, &QRadioButton::clicked, this, &CLansetDlg::OnModeClicked);
    connect(save, &QPushButton::clicked, this, &CLansetDlg::OnSave);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    PutToControls();
}

void CLansetDlg::showEvent(QShowEvent* event) {
    LoadSettings();
    QDialog::showEvent(event);
}

void CLansetDlg::PutToControls() {
    (m_nMode == 1 ? m_pLan : m_pLocal)->setChecked(true);
    m_pAddress->setText(FormatHostAddress(m_dwHostIp, m_nPort));
}

bool CLansetDlg::TakeFromControls() {
    m_nMode = m_pLan->isChecked() ? 1 : 0;
    const QString address = m_pAddress->text().trimmed();
    // With this machine's database no address is needed; the file then names 0.0.0.0.
    if (address.isEmpty() && m_nMode == 0) {
        m_dwHostIp = 0;
        m_nPort = 0;
        return true;
    }
    // 0.0.0.0 names no host: in LAN mode it is as good as no address at all.
    return ParseHostAddress(address, &m_dwHostIp, &m_nPort) && (m_nMode == 0 || m_dwHostIp != 0);
}

void CLansetDlg::LoadSettings() {
    QByteArray content;
    if (ReadLansetFile(theApp.LansetFilePath(), &content) != LansetRead::Ok) {
        PutToControls();
        return;
    }
    const LansetSetting setting = ParseLansetForDialog(content);
    m_nMode = setting.mode;
    m_dwHostIp = setting.hostIp;
    m_nPort = setting.port;
    PutToControls();
    m_pAddress->setEnabled(m_nMode == 1);
}

void CLansetDlg::OnModeClicked() {
    TakeFromControls();
    m_pAddress->setEnabled(m_nMode == 1);
}

void CLansetDlg::OnSave() {
    if (!TakeFromControls()) {
        HarborMessageBox(this,
                         QStringLiteral("请输入完整的主机IP地址:四个0到255之间的数字,以\".\"分隔,"
                                        "如192.168.0.5;服务器不在5432端口时在后面加上\":端口\","
                                        "如192.168.0.5:5433"));
        m_pAddress->setFocus();
        return;
    }
    const QString path = theApp.LansetFilePath();
    QString error;
    if (!WriteLansetFile(path, FormatLanset(m_nMode, m_dwHostIp, m_nPort), &error)) {
        HarborMessageBox(
            this,
            QStringLiteral("不能写入网络设置文件%1\n%2").arg(QDir::toNativeSeparators(path), error),
            MsgIcon::Stop);
        return;
    }
    HarborMessageBox(this, QStringLiteral("局域网连接设置成功"), MsgIcon::None);
    accept();
    theApp.ConnectDatabase();
}
