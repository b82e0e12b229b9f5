#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

struct DocumentTable;

// Rows of one table as kept: the column names and each row's values (null stays null).
struct KeptRows {
    QStringList columns;
    QVector<QVariantList> rows;
};

// A document deleted as a whole, as the program keeps it (table harbor_deleted): its rows and
// what docline kept of them, who deleted it and whether its stock was given back.
struct DeletedDocument {
    QString id; // the kept row's own id
    QString oddnum;
    QString party; // customer or supplier
    QString money; // the amount due the document carried
    QString deletedAt;
    QString deletedBy; // the operator; empty in a shop without operator accounts
    QString workstation;
    bool stockGivenBack = false;
    QString restoredAt; // empty until it is restored
    QString restoredBy;
    KeptRows rows; // the document's rows as they were stored
};

// Kept rows as text and back; text that is not such a record reads as no rows.
QString KeptRowsText(const KeptRows& rows);
KeptRows KeptRowsFromText(const QString& text);

// Keeps the stored rows of a document about to be deleted, inside the delete's transaction.
void KeepDeletedDocument(const DocumentTable& table, const QString& oddnum, bool stockGivenBack);

// The deleted documents of the table, the newest first.
QVector<DeletedDocument> ListDeletedDocuments(const DocumentTable& table);

// Marks the kept document restored by the operator signed in; false when it is gone or was
// restored already (by another window or workstation meanwhile).
bool MarkRestored(const QString& id);

// Puts the kept rows of the document and of docline back, exactly as they were stored; a
// document whose delete kept the stock gets its cost movements back, which stayed in place.
void PutBackRows(const DocumentTable& table, const DeletedDocument& kept);
