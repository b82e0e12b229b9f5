#pragma once

#include <QDate>
#include <QString>

#include "db/SqlText.h"

// The filters of the 操作日志 window: a period (local dates, both days included), and parts of
// the operator's name, the action and the object (document number, product code, party).
struct AuditLogFilter {
    QDate from;
    QDate to;
    QString op;
    QString action;
    QString object;
};

// The entries the filter lets through, newest first: seq, at, operator, authorizer,
// workstation, action, object, before_rows, after_rows.
SqlStatement AuditLogStatement(const AuditLogFilter& filter);

// An entry's UTC time as the local time the user reads ("2026-12-07 18:30:05").
QString AuditLocalTime(const QString& utc);
