#include "queries/ReportCommand.h"

#include <QFile>
#include <cstdio>
#include <memory>

#include "db/CConnection.h"
#include "db/CDbException.h"
#include "db/DataFolder.h"
#include "db/Db.h"
#include "db/LansetFile.h"
#include "text/HarborClock.h"
#include "export/CsvWriter.h"
#include "export/ExportFile.h"

namespace {

bool ReadDate(const QString& text, QDate* date) {
    *date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    return date->isValid();
}

// One option with its value; false with the reason when the value is missing or wrong.
bool ReadOption(const QString& option, const QString& value, ReportOptions* options,
                QString* error) {
    ReportRequest& request = options->request;
    if (option == QLatin1String("--from") || option == QLatin1String("--to")) {
        QDate* date = option == QLatin1String("--from") ? &request.from : &request.to;
        if (!ReadDate(value, date))
            *error = QStringLiteral("%1 的日期应为 YYYY-MM-DD: %2").arg(option, value);
    } else if (option == QLatin1String("--db")) {
        options->database = value;
    } else if (option == QLatin1String("--out")) {
        const QString lower = value.toLower();
        if (!lower.endsWith(QLatin1String(".csv")) && !lower.endsWith(QLatin1String(".xlsx")))
            *error = QStringLiteral("--out 的文件应以 .csv 或 .xlsx 结尾: %1").arg(value);
        options->out = value;
    } else if (option == QLatin1String("--days")) {
        bool ok = false;
        request.days = value.toInt(&ok);
        if (!ok || request.days <= 0)
            *error = QStringLiteral("--days 应为正整数: %1").arg(value);
    } else if (option == QLatin1String("--by")) {
        request.byProfit = value == QLatin1String("profit");
        if (value != QLatin1String("profit") && value != QLatin1String("quantity"))
            *error = QStringLiteral("--by 应为 quantity 或 profit: %1").arg(value);
    } else {
        *error = QStringLiteral("不认识的选项: %1").arg(option);
    }
    return error->isEmpty();
}

void PrintError(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

// Opens the shop as start-up does: the file named by --db, or the Lanset.ini beside the
// program. A missing file is refused, never created.
void Connect(const QString& database) {
    auto connection = std::make_shared<CConnection>();
    if (!database.isEmpty()) {
        if (!QFile::exists(database))
            throw CDbException(QStringLiteral("找不到数据库文件 %1").arg(database));
        connection->OpenFile(database);
    } else {
        EnterDataFolder(); // the Lanset.ini's data source is relative to its folder
        QFile lanset(LansetPath());
        if (!lanset.exists() || !lanset.open(QIODevice::ReadOnly))
            throw CDbException(QStringLiteral("读不到网络设置文件 %1").arg(LansetPath()));
        connection->Open(ConnectionStringFromLanset(lanset.readAll()));
    }
    Db() = connection;
}

} // namespace

bool ParseReportOptions(const QStringList& args, const QDate& today, ReportOptions* options,
                        QString* error) {
    error->clear();
    if (args.isEmpty() || !ReportNames().contains(args.first())) {
        *error = QStringLiteral("报表名称应为 %1 之一%2")
                     .arg(ReportNames().join(QStringLiteral(", ")),
                          args.isEmpty() ? QString() : QStringLiteral(": ") + args.first());
        return false;
    }
    options->request.name = args.first();
    options->request.from = QDate(today.year(), today.month(), 1);
    options->request.to = options->request.from.addMonths(1).addDays(-1);
    for (int i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) {
            *error = QStringLiteral("选项 %1 缺少值").arg(args[i]);
            return false;
        }
        if (!ReadOption(args[i], args[i + 1], options, error))
            return false;
    }
    if (options->request.from > options->request.to) {
        *error = QStringLiteral("--from 不能晚于 --to");
        return false;
    }
    return true;
}

QString ReportCsvText(const QString& name, const ExportTable& table) {
    QString text;
    auto line = [&](const QStringList& fields) {
        QStringList quoted;
        for (const QString& field : fields)
            quoted.append(CsvField(CsvSafeText(field)));
        text += quoted.join(QLatin1Char(',')) + QLatin1Char('\n');
    };
    if (name != QLatin1String("summary")) {
        QStringList headers;
        for (const ExportColumn& column : table.columns)
            headers.append(column.header);
        line(headers);
    }
    for (const QStringList& row : table.rows)
        line(row);
    return text;
}

namespace {

// Writes the report of the connected shop to standard output or the file; the exit code.
int WriteReport(const ReportOptions& options) {
    const ExportTable table = BuildReport(options.request);
    if (options.out.isEmpty()) {
        const QByteArray bytes = ReportCsvText(options.request.name, table).toUtf8();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        return 0;
    }
    const ExportFormat format = options.out.toLower().endsWith(QLatin1String(".csv"))
                                    ? ExportFormat::Csv
                                    : ExportFormat::Xlsx;
    const ExportResult result = ExportToFile(table, options.out, format);
    if (result.status != ExportResult::Written) {
        PrintError(result.error);
        return 1;
    }
    return 0;
}

} // namespace

int ReportCommand(const QStringList& args) {
    ReportOptions options;
    QString error;
    if (!ParseReportOptions(args, HarborToday(), &options, &error)) {
        PrintError(error);
        PrintError(QStringLiteral("Harbor --report NAME [--from YYYY-MM-DD] [--to YYYY-MM-DD] "
                                  "[--db FILE] [--out FILE.csv|FILE.xlsx] [--days N] "
                                  "[--by quantity|profit]"));
        return 1;
    }
    int code = 1;
    try {
        Connect(options.database);
        code = WriteReport(options);
    } catch (const CDbException& failure) {
        PrintError(QStringLiteral("报表失败: %1").arg(failure.Message()));
    }
    // The connection goes before the application object does, with its prepared statements.
    Db().reset();
    return code;
}
