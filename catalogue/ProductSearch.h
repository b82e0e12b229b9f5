#pragma once

#include <QString>

#include "db/SqlText.h"
#include "ui/CPagedSqlSource.h"

class CGridCtrl;
class QWidget;

// The product result grid shared by the pinyin picker and the stock search: a header row,
// the row-number column and 商品名称, 商品简称, 包装规格, 条形码, 单价, 库存.
void SetupProductGrid(CGridCtrl& grid);

// Replaces the grid's data rows by the products the SELECT on property returns, in the
// order returned, and gives their number. Raises CDbException on a database error.
int FillProductGrid(CGridCtrl& grid, const SqlStatement& sql);

// The paged query of the product list for a condition on property (empty: every product).
PagedQuery ProductListQuery(const SqlStatement& condition);

// The products of property that condition.sql picks (empty: every product), shown in the grid
// a page at a time as it paints them, in the order they were stored; gives their number. A
// page that cannot be read shows a message naming what on parent. Raises CDbException when
// they cannot be counted.
int ShowProductList(CGridCtrl& grid, const SqlStatement& condition, QWidget* parent,
                    const QString& what);

// "SELECT * FROM property WHERE " and the condition: every row at once, in one plain read.
SqlStatement ProductSelectSql(const SqlStatement& condition);

// A search statement whose every "?" stands for a LIKE pattern that finds the typed text
// anywhere, its "%" and "_" matching only themselves.
//   LikeSearchSql("SELECT * FROM property WHERE name LIKE ? OR longpinyin LIKE ?", typed)
SqlStatement LikeSearchSql(const QString& sql, const QString& typed);

// A typed search text as it is matched against names and initials: ASCII letters in upper case
// (initials are stored in upper case), every other character as typed, so "φ20", "ｍｍ" or
// "６ｍｍ" find what holds them. "pzls" -> "PZLS", "φ20mm" -> "φ20MM".
QString FoldSearchText(const QString& typed);

// The grid columns of the product table, for tests and the dialogs.
enum ProductColumn {
    kColNumber = 0,
    kColName = 1,
    kColShortName = 2,
    kColSpec = 3,
    kColCode = 4,
    kColPrice = 5,
    kColTotal = 6,
    kProductColumnCount = 7
};
