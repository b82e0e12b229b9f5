#pragma once

#include <QRect>
#include <QString>
#include <QVector>

class QPainter;

// A QR code of a text, encoded by libzint, kept as its square of dark and light modules so
// that it can be drawn at any resolution with every module on whole device pixels.
class QrSymbol {
  public:
    // Light modules a scanner needs around the symbol.
    static constexpr int kQuietModules = 4;

    explicit QrSymbol(const QString& text);

    bool IsValid() const { return m_strError.isEmpty(); }
    QString Error() const { return m_strError; }
    // Modules along one side, quiet zone not counted.
    int Modules() const { return m_nModules; }
    bool IsDark(int row, int column) const { return m_dark.at(row * m_nModules + column); }

    // Paints the modules from the top-left corner of area, modulePixels a module (light modules
    // are left as they are). Returns the rectangle the symbol covers.
    QRect Paint(QPainter& painter, QPoint topLeft, int modulePixels) const;

  private:
    QString m_strError;
    int m_nModules = 0;
    QVector<bool> m_dark;
};
