#include "text/TableRowMatch.h"

#include "text/InputText.h"

#include <QHash>
#include <deque>

namespace {

// Joins the values with a separator that typed text cannot hold.
QString Key(const QStringList& values) {
    return values.join(QChar(0x1F));
}

} // namespace

std::vector<int> MatchRowsToRecords(const std::vector<TableRow>& rows,
                                    const QList<QStringList>& records) {
    QHash<QString, std::deque<int>> free;
    for (int i = 0; i < records.size(); ++i)
        free[Key(records[i])].push_back(i);

    std::vector<int> matches(rows.size(), -1);
    for (size_t r = 0; r < rows.size(); ++r) {
        if (!rows[r].stored)
            continue;
        auto it = free.find(Key(*rows[r].stored));
        if (it == free.end() || it->empty())
            continue;
        matches[r] = it->front();
        it->pop_front();
    }
    return matches;
}

bool IsBlankAddedRow(const TableRow& row) {
    if (row.stored)
        return false;
    for (const QString& value : row.values) {
        if (!value.isEmpty())
            return false;
    }
    return true;
}

int FirstNamelessRow(const std::vector<TableRow>& rows) {
    for (size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].values.value(0).isEmpty() && !IsBlankAddedRow(rows[r]))
            return int(r);
    }
    return -1;
}

int FirstBadNameRow(const std::vector<TableRow>& rows, const QList<NameField>& fields,
                    QString* message) {
    for (size_t r = 0; r < rows.size(); ++r) {
        const TableRow& row = rows[r];
        if (IsBlankAddedRow(row) || (row.stored && *row.stored == row.values))
            continue;
        for (const NameField& field : fields) {
            const QString value = row.values.value(field.index);
            if (value.isEmpty())
                continue;
            const QString problem = field.required ? NameProblem(field.label, value)
                                                   : OptionalNameProblem(field.label, value);
            if (!problem.isEmpty()) {
                *message = problem;
                return int(r);
            }
        }
    }
    return -1;
}

int FirstBadTextRow(const std::vector<TableRow>& rows, const QStringList& labels, int* column,
                    QString* message) {
    for (size_t r = 0; r < rows.size(); ++r) {
        const TableRow& row = rows[r];
        if (IsBlankAddedRow(row) || (row.stored && *row.stored == row.values))
            continue;
        for (int i = 0; i < row.values.size(); ++i) {
            const QString problem = TextProblem(labels.value(i), row.values[i]);
            if (!problem.isEmpty()) {
                *column = i;
                *message = problem;
                return int(r);
            }
        }
    }
    return -1;
}
