#pragma once

class CPagedSqlSource;
class ListPrintData;

// Gives a printed list every row of a paged list below its header row (row 0, kept), the
// columns firstColumn to lastColumn, read a block at a time from the database rather than from
// the grid's cells. Raises CDbException.
void CopyRowsToPrint(CPagedSqlSource& source, ListPrintData& list, int firstColumn, int lastColumn);
