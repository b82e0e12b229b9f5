#pragma once

#include <QPixmap>

// The home view's picture (1101 by 566): a light-blue sky with music notes and a heart.
const QPixmap& HomePicture();
// Starts drawing the picture on a worker thread, so that it is ready (or nearly) when the home
// view first paints while the window is being built; HomePicture() then waits for it. Without
// this call HomePicture() draws it when first asked.
void StartHomePicture();

class QIcon;

// The ribbon's large image number `index` (32 by 32 at twice the pixel density, drawn for the
// button's text). Drawn once per process and kept.
QPixmap RibbonImage(int index, const QString& glyph);
// The same image drawn directly at a size in device pixels (not cached).
QPixmap PaintRibbonImage(int index, const QString& glyph, const QSize& pixels);
// An icon of that image that draws each size the first time it is shown, and keeps it.
QIcon RibbonIcon(int index, const QString& glyph);
