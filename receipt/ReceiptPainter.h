#pragma once

class QPainter;
class ReceiptLayout;

// Draws a laid-out receipt in the painter's current coordinates, one unit a printer dot: the
// same drawing goes to a Qt printer (scaled to its resolution) and into the ESC/POS raster.
void PaintReceipt(QPainter& painter, const ReceiptLayout& layout);
