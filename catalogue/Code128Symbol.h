#pragma once

#include <QList>
#include <QRect>
#include <QString>

class QPainter;

// A Code 128 symbol of a text, encoded by libzint. Its bars come from zint's vector output and
// are kept in modules (the narrowest bar's width), so that they can be drawn at any device's
// resolution with every edge on a whole pixel.
class Code128Symbol {
  public:
    // Modules of light space that a scanner needs on each side of the bars.
    static constexpr int kQuietModules = 10;

    struct Bar {
        int start; // module where the bar begins
        int width; // in modules
    };

    explicit Code128Symbol(const QString& text);

    bool IsValid() const { return m_strError.isEmpty(); }
    // zint's reason when the text cannot be encoded.
    QString Error() const { return m_strError; }
    // Width of the bars in modules, quiet zones not counted.
    int Modules() const { return m_nModules; }
    const QList<Bar>& Bars() const { return m_bars; }

    // Whole device pixels per module for the bars and their quiet zones to fit a width, at most
    // maxModule; 0 when even one pixel per module does not fit.
    int ModulePixels(int width, int maxModule) const;

    // Paints the bars centred in area (device pixels, the painter untransformed), modulePixels
    // pixels a module, full height. Returns the rectangle the bars cover.
    QRect Paint(QPainter& painter, const QRect& area, int modulePixels) const;

  private:
    QString m_strError;
    int m_nModules = 0;
    QList<Bar> m_bars;
};
