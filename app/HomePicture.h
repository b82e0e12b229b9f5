#pragma once

#include <QPixmap>

// The home view's picture (1101 by 566): a light-blue sky with music notes and a heart.
const QPixmap& HomePicture();

// The ribbon's large image number `index` (32 by 32, drawn for the button's text).
QPixmap RibbonImage(int index, const QString& glyph);
