#pragma once

#include <QPixmap>

// The home view's picture (1101 by 566): a light-blue sky with music notes and a heart.
const QPixmap& HomePicture();

class QIcon;

// The ribbon's large image number `index` (32 by 32 at twice the pixel density, drawn for the
// button's text). Drawn once per process and kept.
QPixmap RibbonImage(int index, const QString& glyph);
// The same image drawn directly at a size in device pixels (not cached).
QPixmap PaintRibbonImage(int index, const QString& glyph, const QSize& pixels);
// An icon of that image that draws each size the first time it is shown, and keeps it.
QIcon RibbonIcon(int index, const QString& glyph);
