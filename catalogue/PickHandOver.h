#pragma once

#include "ui/PickArea.h"
#include <QString>

class QWidget;

// Hands a chosen product from a picker to the document window named by PickArea().m_nPickTarget:
// sets PickArea().m_strPickedName, m_strPickedCode and m_strPickedSpec and, when the name is not
// empty, calls the document's PutPickedProduct. False when the document refused the product
// because it has no properties yet: the user has been told and the picker stays open.
bool HandOverPick(QWidget* parent, const QString& name, const QString& code, const QString& spec);

// The document's side: opens the product picker for the document numbered pickTarget
// (1 stock-in, 2 sales-out, 3 sales-return) and waits for it to close. With a search text the
// pinyin picker (拼音选择商品) opens, without one the picker by catalogue levels (商品选择).
// True when a product was handed over; false means the document drops its new line.
bool RunProductPicker(QWidget* parent, int pickTarget, const QString& query);
