// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pictures.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace zk::pictures {
namespace {

constexpr double Pi = 3.14159265358979323846;

// Device pixels per pixel of the pictures being drawn (see PictureScale).
int g_scale = 1;

// A picture's width in its own pixels, whatever its device scale.
int WidthOf(const QImage& image) {
    return static_cast<int>(std::lround(image.deviceIndependentSize().width()));
}

double Degrees(double radians) { return radians * 180.0 / Pi; }

// The serif face of printed formulas, without anti-aliasing: the program's drawing is aliased.
QFont Serif(int pixelSize, bool italic = false, bool bold = false) {
    QFont font(QStringLiteral("Liberation Serif"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixelSize);
    font.setItalic(italic);
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// A piece of text rendered once and cropped to its ink, so that formulas can be put together to
// the pixel.  A pixel that a font engine covers only partly, despite NoAntialias, is decided by
// a threshold: the pictures stay two-coloured whatever the engine does.
struct Ink {
    QImage Image; // Format_ARGB32: opaque black ink on transparency
    QRect Box;    // the ink relative to the pen origin on the baseline (y downwards)
    // Where the image's top-left corner lies from the box's, in device pixels: at a device scale
    // the glyphs' ink may reach a little beyond the box of their ink at scale 1.
    QPoint Offset;
};

// Keeps the pixels a font engine inks (alpha at least one half) as opaque black, clears the rest,
// and returns the box of the inked ones.
QRect Threshold(QImage& scratch) {
    QRect box;
    for (int y = 0; y < scratch.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(scratch.scanLine(y));
        for (int x = 0; x < scratch.width(); ++x) {
            if (qAlpha(line[x]) >= 128) {
                line[x] = qRgba(0, 0, 0, 255);
                box |= QRect(x, y, 1, 1);
            } else {
                line[x] = qRgba(0, 0, 0, 0);
            }
        }
    }
    return box;
}

Ink InkOfAtScaleOne(const QString& text, const QFont& font);

// At a device scale k the text is laid out by its ink at scale 1, so every formula keeps its
// pixel-exact arrangement, and its glyphs are rendered at k times the size into that box.
Ink InkOf(const QString& text, const QFont& font) {
    Ink ink = InkOfAtScaleOne(text, font);
    const int k = g_scale;
    if (k == 1 || ink.Image.isNull())
        return ink;
    const int size = std::max(font.pixelSize(), 4);
    const QPoint origin(2 * size, 2 * size);
    QImage scratch((QFontMetrics(font).horizontalAdvance(text) + 4 * size) * k, 4 * size * k,
                   QImage::Format_ARGB32);
    scratch.fill(Qt::transparent);
    scratch.setDevicePixelRatio(k);
    {
        QPainter painter(&scratch);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(origin, text);
    }
    // The glyphs at k times the size are hinted anew, so their ink need not lie exactly within k
    // times the box at scale 1 (a bar of "=" may fall a device pixel outside it): all of it is
    // kept, in its place against the pen origin, and the box goes on laying out the formula.
    const QRect inked = Threshold(scratch);
    const QRect box = ink.Box.translated(origin);
    const QRect scaled(box.topLeft() * k, box.size() * k);
    const QRect kept = scaled | inked;
    QImage large = scratch.copy(kept);
    large.setDevicePixelRatio(k);
    ink.Image = large;
    ink.Offset = kept.topLeft() - scaled.topLeft();
    return ink;
}

Ink InkOfAtScaleOne(const QString& text, const QFont& font) {
    const int size = std::max(font.pixelSize(), 4);
    const QPoint origin(2 * size, 2 * size);
    QImage scratch(QFontMetrics(font).horizontalAdvance(text) + 4 * size, 4 * size, QImage::Format_ARGB32);
    scratch.fill(Qt::transparent);
    {
        QPainter painter(&scratch);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(origin, text);
    }
    const QRect box = Threshold(scratch);
    if (box.isEmpty())
        return {QImage(), QRect(), QPoint()};
    return {scratch.copy(box), box.translated(-origin), QPoint()};
}

// A fresh picture with the drawing rules of the program: no anti-aliasing, black ink; at the
// device scale of the pictures being drawn.
QImage Blank(int width, int height, QImage::Format format = QImage::Format_RGB32) {
    QImage image(width * g_scale, height * g_scale, format);
    image.fill(format == QImage::Format_ARGB32 ? QColor(Qt::transparent) : QColor(Qt::white));
    image.setDevicePixelRatio(g_scale);
    return image;
}

// An ink drawn with lines rather than taken from a font: the perpendicular sign, which the
// formula face lacks.  Its foot stands on the baseline.
Ink PerpendicularInk(int size) {
    QImage image = Blank(size, size, QImage::Format_ARGB32);
    {
        QPainter painter(&image);
        painter.setPen(Qt::black);
        painter.drawLine(size / 2, 0, size / 2, size - 1);
        painter.drawLine(0, size - 1, size - 1, size - 1);
    }
    return {image, QRect(0, -size + 1, size, size), QPoint()};
}

// An equals sign of given bar length and gap, its middle axis pixels above the baseline; the
// smallest pictures need it narrower than any font draws it.
Ink EqualsInk(int width, int gap, int axis) {
    const int height = gap + 2;
    QImage image = Blank(width, height, QImage::Format_ARGB32);
    {
        QPainter painter(&image);
        painter.fillRect(0, 0, width, 1, Qt::black);
        painter.fillRect(0, height - 1, width, 1, Qt::black);
    }
    return {image, QRect(0, -axis - height / 2, width, height), QPoint()};
}

// Pieces of ink side by side; each may be lowered (a subscript) or raised (a superscript)
// against the common baseline.
class Row {
public:
    // gapBefore may be negative to tuck a subscript under the letter before it.
    Row& Add(const Ink& ink, int gapBefore = 0, int drop = 0) {
        width_ += pieces_.empty() ? std::max(gapBefore, 0) : gapBefore;
        pieces_.push_back({ink, width_, drop});
        width_ += ink.Box.width();
        return *this;
    }
    // Appends another row, its pieces keeping their places against the baseline.
    Row& Add(const Row& other, int gapBefore) {
        const int shift = width_ + gapBefore;
        for (const Piece& piece : other.pieces_)
            pieces_.push_back({piece.Glyphs, shift + piece.Left, piece.Drop});
        width_ = shift + other.width_;
        return *this;
    }
    int Width() const { return width_; }
    // Highest and lowest ink rows against the baseline (negative above it).
    int Top() const {
        int top = std::numeric_limits<int>::max();
        for (const Piece& piece : pieces_)
            if (!piece.Glyphs.Box.isEmpty())
                top = std::min(top, piece.Glyphs.Box.top() + piece.Drop);
        return top == std::numeric_limits<int>::max() ? 0 : top;
    }
    int Bottom() const {
        int bottom = std::numeric_limits<int>::min();
        for (const Piece& piece : pieces_)
            if (!piece.Glyphs.Box.isEmpty())
                bottom = std::max(bottom, piece.Glyphs.Box.bottom() + piece.Drop);
        return bottom == std::numeric_limits<int>::min() ? 0 : bottom;
    }
    void Draw(QPainter& painter, int left, int baseline) const {
        for (const Piece& piece : pieces_)
            if (!piece.Glyphs.Image.isNull()) {
                const QPointF at(left + piece.Left, baseline + piece.Drop + piece.Glyphs.Box.top());
                painter.drawImage(at + QPointF(piece.Glyphs.Offset) / g_scale, piece.Glyphs.Image);
            }
    }
    // Draws the row with the middle of its ink at (x, y).
    void DrawCentred(QPainter& painter, double x, double y) const {
        const int left = static_cast<int>(std::lround(x - width_ / 2.0));
        const int baseline = static_cast<int>(std::lround(y - (Top() + Bottom()) / 2.0));
        Draw(painter, left, baseline);
    }

private:
    struct Piece {
        Ink Glyphs;
        int Left; // pixels from the row's left edge
        int Drop; // pixels below the row's baseline
    };
    std::vector<Piece> pieces_;
    int width_ = 0;
};

// A built-up fraction: numerator and denominator centred over a one-pixel bar.
class Fraction {
public:
    Fraction(Row numerator, Row denominator, int gap, int overhang)
        : numerator_(std::move(numerator)), denominator_(std::move(denominator)), gap_(gap),
          overhang_(overhang) {}
    int Width() const { return std::max(numerator_.Width(), denominator_.Width()) + 2 * overhang_; }
    // The bar lies on row barRow, from column left on.
    void Draw(QPainter& painter, int left, int barRow) const {
        const int width = Width();
        painter.fillRect(left, barRow, width, 1, Qt::black);
        numerator_.Draw(painter, left + (width - numerator_.Width() + 1) / 2,
                        barRow - gap_ - 1 - numerator_.Bottom());
        denominator_.Draw(painter, left + (width - denominator_.Width() + 1) / 2,
                          barRow + gap_ + 1 - denominator_.Top());
    }

private:
    Row numerator_;
    Row denominator_;
    int gap_;
    int overhang_;
};

void Prepare(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
}

// Baseline that puts the middle of ink's rows on row centre.
int BaselineCentring(const Ink& ink, int centre) { return centre - (ink.Box.top() + ink.Box.bottom()) / 2; }

// The small formulas of the main window: a letter with a subscript digit, as in P2 or υ1.
Row Symbol(const QString& letter, const QString& subscript, int letterSize, int subscriptSize, int drop,
           bool bold = false) {
    Row row;
    row.Add(InkOf(letter, Serif(letterSize, !bold, bold)));
    row.Add(InkOf(subscript, Serif(subscriptSize, false, bold)), 1, drop);
    return row;
}

// A ratio picture of the main window, 40 x 50: a fraction of two subscripted letters and "=",
// the equals sign on row 25 beside the value label.
QImage RatioFormula(const QString& letter) {
    constexpr int BarRow = 25;
    QImage image = Blank(40, 50);
    QPainter painter(&image);
    Prepare(painter);
    const Fraction fraction(Symbol(letter, QStringLiteral("2"), 19, 12, 4),
                            Symbol(letter, QStringLiteral("1"), 19, 12, 4), 2, 1);
    const Ink equals = InkOf(QStringLiteral("="), Serif(19));
    const int width = fraction.Width() + 3 + equals.Box.width();
    const int left = WidthOf(image) - 2 - width;
    fraction.Draw(painter, left, BarRow);
    Row().Add(equals).Draw(painter, left + fraction.Width() + 3, BaselineCentring(equals, BarRow));
    return image;
}

// A filled arrowhead with its point at tip, coming from the direction of from.
void Arrowhead(QPainter& painter, QPointF tip, QPointF from, double length, double halfWidth) {
    const QPointF d = tip - from;
    const double n = std::hypot(d.x(), d.y());
    if (n <= 0)
        return;
    const QPointF u = d / n;
    const QPointF across(-u.y(), u.x());
    const QPointF base = tip - u * length;
    const QPolygonF head({tip, base + across * halfWidth, base - across * halfWidth});
    painter.save();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::black);
    painter.drawPolygon(head);
    painter.restore();
}

// A line in the current pen ending in an arrowhead at tip.
void Arrow(QPainter& painter, QPointF from, QPointF tip, double length, double halfWidth) {
    painter.drawLine(from, tip - (tip - from) / std::hypot((tip - from).x(), (tip - from).y()) * (length - 1));
    Arrowhead(painter, tip, from, length, halfWidth);
}

// Dashes and gaps in pixels, whatever the width.
QPen DashedPen(double width = 1, qreal dash = 5, qreal space = 4) {
    QPen pen(Qt::black, width);
    pen.setDashPattern({dash / width, space / width});
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

// The theory picture's frame: velocities in units of υ1 to pixels.
struct Frame {
    QPointF Origin;
    double Scale; // pixels per υ1
    QPointF operator()(QPointF v) const { return {Origin.x() + v.x() * Scale, Origin.y() - v.y() * Scale}; }
    QPointF operator()(double x, double y) const { return (*this)(QPointF(x, y)); }
};

QPointF ScreenPolar(double radius, double angle) { return {radius * std::cos(angle), -radius * std::sin(angle)}; }

// Labels of the theory picture: italic letters with subscripts set smaller and lower.
class Lettering {
public:
    Lettering() : letter_(Serif(22, true)), upright_(Serif(22)), subLetter_(Serif(15, true)), subDigit_(Serif(15)) {}

    Row Letter(const QString& text) const { return Row().Add(InkOf(text, letter_)); }
    // υ with a subscript such as "2x", "1n" or "2⊥" (the sign drawn, not typed).
    Row Velocity(const QString& subscript) const {
        Row row = Letter(QString(QChar(0x03C5)));
        AddSubscript(row, subscript);
        return row;
    }
    void AddSubscript(Row& row, const QString& subscript) const {
        int gap = 1;
        for (const QChar c : subscript) {
            if (c == QChar(0x22A5))
                row.Add(PerpendicularInk(8), gap + 1, SubscriptDrop);
            else if (c.isDigit())
                row.Add(InkOf(QString(c), subDigit_), gap, SubscriptDrop);
            else
                row.Add(InkOf(QString(c), subLetter_), gap, SubscriptDrop);
            gap = 0;
        }
    }
    Ink Sign(const QString& text) const { return InkOf(text, upright_); }
    // Upright text at the subscript size, such as the star of c*.
    Ink Small(const QString& text) const { return InkOf(text, subDigit_); }

    static constexpr int SubscriptDrop = 5;

private:
    QFont letter_;
    QFont upright_;
    QFont subLetter_;
    QFont subDigit_;
};

// A dimension line between a and b with arrowheads pointing outwards to both ends.
void DimensionLine(QPainter& painter, QPointF a, QPointF b) {
    const QPointF d = b - a;
    const double n = std::hypot(d.x(), d.y());
    const QPointF u = d / n;
    painter.drawLine(a + u * 6, b - u * 6);
    Arrowhead(painter, a, a + u, 10, 3);
    Arrowhead(painter, b, b - u, 10, 3);
}

// Qt's arcs take sixteenths of a degree, counter-clockwise on the screen.
void AngleArc(QPainter& painter, QPointF centre, double radius, double from, double to) {
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    painter.drawArc(box, static_cast<int>(std::lround(Degrees(from) * 16)),
                    static_cast<int>(std::lround(Degrees(to - from) * 16)));
}

} // namespace

PictureScale::PictureScale(int scale) : previous_(g_scale) {
    g_scale = std::clamp(scale, 1, 16);
}

PictureScale::~PictureScale() {
    g_scale = previous_;
}

std::function<QImage(int scale)> AtScale(QImage (*picture)()) {
    return [picture](int scale) {
        const PictureScale atScale(scale);
        return picture();
    };
}

// ---------------------------------------------------------------------------------------------
// Main window

QImage TaskSketch() {
    QImage image = Blank(145, 65);
    QPainter painter(&image);
    Prepare(painter);

    // The wedge: tip on the axis, faces opening to the right at its half-angle.
    const QPoint tip(70, 33);
    const double halfAngle = 22.0 * Pi / 180.0;
    const int right = 143;
    const double slope = std::tan(halfAngle);
    const QPointF upper(right, tip.y() - (right - tip.x()) * slope);
    const QPointF lower(right, tip.y() + (right - tip.x()) * slope);

    // The axis of symmetry as a centre line: long dash, gap, dot, gap.
    QPen centreLine(Qt::black, 1);
    centreLine.setDashPattern({8, 2, 1, 2});
    painter.setPen(centreLine);
    painter.drawLine(1, tip.y(), right, tip.y());

    // The half-angle between the axis and the upper face, and what it asks: the label stands
    // inside the wedge, beyond the arc.
    const int radius = 28;
    painter.setPen(QPen(Qt::black, 1));
    painter.drawArc(QRect(tip.x() - radius, tip.y() - radius, 2 * radius, 2 * radius), 0, 22 * 16);
    const QFont letter = Serif(14, true);
    const QFont sign = Serif(12);
    Row chi;
    chi.Add(InkOf(QString(QChar(0x03C7)), letter))
        .Add(InkOf(QStringLiteral("="), sign), 1)
        .Add(InkOf(QStringLiteral("?"), sign), 1);
    const QPoint label(tip.x() + radius + 7, tip.y() - 4);
    const QRectF labelBox(label.x() - 2, label.y() + chi.Top() - 2, chi.Width() + 4, chi.Bottom() - chi.Top() + 4);
    chi.Draw(painter, label.x(), label.y());

    // Hatching on the solid side of each face, short strokes leaning into the wedge.  As in the
    // diagram it begins some way from the tip, and it gives way to the label.
    for (int x = tip.x() + radius + 2; x <= right - 3; x += 5) {
        const double dy = (x - tip.x()) * slope;
        const QPointF onUpper(x, std::round(tip.y() - dy));
        const QPointF onLower(x, std::round(tip.y() + dy));
        const QRectF upperStroke(onUpper + QPointF(1, 2), onUpper + QPointF(4, 5));
        if (!upperStroke.intersects(labelBox))
            painter.drawLine(upperStroke.topLeft(), upperStroke.bottomRight());
        painter.drawLine(onLower + QPointF(1, -2), onLower + QPointF(4, -5));
    }

    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(tip), upper);
    painter.drawLine(QPointF(tip), lower);

    // The oncoming stream at the upper left.
    painter.setPen(QPen(Qt::black, 1));
    Arrow(painter, QPointF(6, 22), QPointF(50, 22), 8, 3);
    Row velocity;
    velocity.Add(InkOf(QString(QChar(0x03C5)), letter))
        .Add(InkOf(QStringLiteral("1"), Serif(10)), 1, 3)
        .Add(InkOf(QStringLiteral("="), sign), 1)
        .Add(InkOf(QStringLiteral("?"), sign), 1);
    velocity.Draw(painter, 10, 14);
    return image;
}

QImage VelocityDensityFormula() {
    constexpr int BarRow = 27; // level with the digits of Label1
    QImage image = Blank(75, 50);
    QPainter painter(&image);
    Prepare(painter);
    const QString rho(QChar(0x03C1));
    const Fraction velocities(Symbol(QStringLiteral("V"), QStringLiteral("2"), 18, 12, 4),
                              Symbol(QStringLiteral("V"), QStringLiteral("1"), 18, 12, 4), 2, 1);
    const Fraction densities(Symbol(rho, QStringLiteral("1"), 19, 12, 4), Symbol(rho, QStringLiteral("2"), 19, 12, 4),
                             2, 1);
    const Ink equals = InkOf(QStringLiteral("="), Serif(18));
    const int gap = 4;
    const int width = velocities.Width() + densities.Width() + 2 * equals.Box.width() + 4 * gap;
    int x = WidthOf(image) - 1 - width;
    const int equalsBaseline = BaselineCentring(equals, BarRow);
    velocities.Draw(painter, x, BarRow);
    x += velocities.Width() + gap;
    Row().Add(equals).Draw(painter, x, equalsBaseline);
    x += equals.Box.width() + gap;
    densities.Draw(painter, x, BarRow);
    x += densities.Width() + gap;
    Row().Add(equals).Draw(painter, x, equalsBaseline);
    return image;
}

QImage PressureRatioFormula() { return RatioFormula(QStringLiteral("P")); }
QImage SpeedRatioFormula() { return RatioFormula(QString(QChar(0x03C5))); }
QImage TemperatureRatioFormula() { return RatioFormula(QStringLiteral("T")); }

QImage SoundSpeedFormula() {
    constexpr int EqualsRow = 17; // level with Label12 in the main window and cc1 in the settings
    QImage image = Blank(50, 50);
    QPainter painter(&image);
    Prepare(painter);
    const Ink equals = InkOf(QStringLiteral("="), Serif(26, false, true));
    Row row = Symbol(QStringLiteral("C"), QStringLiteral("1"), 28, 21, 7, true);
    row.Add(equals, 4);
    const int baseline = BaselineCentring(equals, EqualsRow);
    row.Draw(painter, WidthOf(image) - 2 - row.Width(), baseline);
    return image;
}

QImage GammaFormula() {
    QImage image = Blank(25, 25);
    QPainter painter(&image);
    Prepare(painter);
    constexpr int EqualsRow = 12; // level with the digits of Label13
    constexpr int Axis = 5;       // pixels from the baseline up to the middle of the sign
    Row row;
    row.Add(InkOf(QString(QChar(0x03B3)), Serif(18))).Add(EqualsInk(8, 2, Axis), 3);
    row.Draw(painter, WidthOf(image) - 1 - row.Width(), EqualsRow + Axis);
    return image;
}

QImage ChiMaxFormula() {
    QImage image = Blank(25, 25, QImage::Format_ARGB32);
    QPainter painter(&image);
    Prepare(painter);
    // Twenty-five pixels hold χ, its subscript and the sign only with the subscript in a small
    // sans-serif face, which stays legible where the serif one breaks up.
    QFont subscript(QStringLiteral("Liberation Sans"));
    subscript.setStyleHint(QFont::SansSerif);
    subscript.setPixelSize(8);
    subscript.setStyleStrategy(QFont::NoAntialias);
    Row row;
    constexpr int EqualsRow = 16; // level with the digits of Label3
    constexpr int Axis = 4;
    row.Add(InkOf(QString(QChar(0x03C7)), Serif(13, true)))
        .Add(InkOf(QStringLiteral("max"), subscript), 0, 3)
        .Add(EqualsInk(4, 2, Axis), 1);
    row.Draw(painter, std::max(0, WidthOf(image) - row.Width()), EqualsRow + Axis);
    return image;
}

QImage ChiFormula() {
    QImage image = Blank(20, 20, QImage::Format_ARGB32);
    QPainter painter(&image);
    Prepare(painter);
    constexpr int EqualsRow = 11; // level with the text of the wedge field and of the panel
    constexpr int Axis = 4;
    Row row;
    row.Add(InkOf(QString(QChar(0x03C7)), Serif(16, true))).Add(EqualsInk(7, 2, Axis), 2);
    row.Draw(painter, WidthOf(image) - 1 - row.Width(), EqualsRow + Axis);
    return image;
}

QImage VelocityFormula() {
    QImage image = Blank(20, 20);
    QPainter painter(&image);
    Prepare(painter);
    constexpr int EqualsRow = 11; // level with the text of the velocity field
    constexpr int Axis = 4;
    Row row = Symbol(QString(QChar(0x03C5)), QStringLiteral("1"), 16, 10, 3);
    row.Add(EqualsInk(6, 2, Axis), 2);
    row.Draw(painter, WidthOf(image) - row.Width(), EqualsRow + Axis);
    return image;
}

// ---------------------------------------------------------------------------------------------
// Settings window

QImage GammaTimesTenFormula() {
    QImage image = Blank(75, 50);
    QPainter painter(&image);
    Prepare(painter);
    const QFont upright = Serif(20);
    const Ink equals = InkOf(QStringLiteral("="), upright);
    Row row;
    row.Add(InkOf(QString(QChar(0x03B3)), upright))
        .Add(InkOf(QString(QChar(0x00D7)), upright), 4)
        .Add(InkOf(QStringLiteral("10"), upright), 4)
        .Add(equals, 4);
    row.Draw(painter, WidthOf(image) - 2 - row.Width(), BaselineCentring(equals, 27));
    return image;
}

// ---------------------------------------------------------------------------------------------
// Theory picture

double ShockPolarOrdinate(const TheoryFigure& f, double u) {
    // The shock polar, a strophoid: with υ1 = 1 every velocity behind an oblique shock satisfies
    // υ2y² = (1 - υ2x)² (υ2x - c*²) / (2/(γ+1) - υ2x + c*²).
    if (u < f.PointAx || u > 1.0)
        return 0.0;
    const double a2 = f.PointAx; // c*² / υ1 with υ1 = 1
    const double numerator = (1.0 - u) * (1.0 - u) * (u - a2);
    const double denominator = 2.0 / (f.Gamma + 1.0) - u + a2;
    if (numerator <= 0.0 || denominator <= 0.0)
        return 0.0;
    return std::sqrt(numerator / denominator);
}

TheoryFigure TheoryFigureGeometry() {
    TheoryFigure f;
    f.Gamma = 1.4;
    f.Mach = 2.5;
    f.ShockAngle = 52.0 * Pi / 180.0;
    const double g = f.Gamma;
    const double c1 = 1.0 / f.Mach;
    // Energy: c*² = 2/(γ+1) c1² + (γ-1)/(γ+1) υ1²; Prandtl's relation puts A at c*²/υ1.
    const double a2 = 2.0 / (g + 1.0) * c1 * c1 + (g - 1.0) / (g + 1.0);
    f.CriticalSpeed = std::sqrt(a2);
    f.PointAx = a2;

    // Across the front the tangential component is kept and the normal one is cut by the
    // density ratio of the normal shock.
    const double phi = f.ShockAngle;
    const double normalMach = f.Mach * std::sin(phi);
    const double densityRatio = (g + 1.0) * normalMach * normalMach / ((g - 1.0) * normalMach * normalMach + 2.0);
    const double tangential = std::cos(phi);
    const double normal2 = std::sin(phi) / densityRatio;
    const QPointF along(std::cos(phi), std::sin(phi));
    const QPointF inward(std::sin(phi), -std::cos(phi));
    f.D = along * tangential;
    f.C = f.D + inward * normal2;
    f.WedgeAngle = std::atan2(f.C.y(), f.C.x());

    // K: where the ray from 0 turns furthest from the axis; the angle along the branch rises
    // from A to K and falls from K to B, so a golden-section search finds it.
    auto angle = [&f](double u) { return std::atan2(ShockPolarOrdinate(f, u), u); };
    double lo = f.PointAx;
    double hi = 1.0;
    const double r = (std::sqrt(5.0) - 1.0) / 2.0;
    for (int i = 0; i < 200 && hi - lo > 1e-13; ++i) {
        const double m1 = hi - r * (hi - lo);
        const double m2 = lo + r * (hi - lo);
        if (angle(m1) < angle(m2))
            lo = m1;
        else
            hi = m2;
    }
    const double kx = (lo + hi) / 2.0;
    f.K = QPointF(kx, ShockPolarOrdinate(f, kx));
    f.MaxWedgeAngle = std::atan2(f.K.y(), f.K.x());
    return f;
}

QImage TheoryPicture() {
    const TheoryFigure f = TheoryFigureGeometry();
    QImage image = Blank(758, 527, QImage::Format_RGB888);
    QPainter painter(&image);
    Prepare(painter);
    const Lettering text;
    const QPen thin(Qt::black, 1);

    const Frame at{QPointF(245, 280), 430};
    const QPointF origin = at(0, 0);
    const QPointF pointA = at(f.PointAx, 0);
    const QPointF pointB = at(1, 0);
    const QPointF pointC = at(f.C);
    const QPointF pointD = at(f.D);
    const QPointF pointK = at(f.K);
    const QPointF pointC1 = at(f.C.x(), 0);
    const double phi = f.ShockAngle;
    const double chi = f.WedgeAngle;
    const QPointF along = ScreenPolar(1, phi);           // up the shock front
    const QPointF across = ScreenPolar(1, phi + Pi / 2); // normal to the front, to the upper left
    const double lengthOD = std::hypot(f.D.x(), f.D.y()) * at.Scale;

    // Depth of the loop below the axis, so that the long dimension clears it.
    double loopDepth = 0;
    for (int i = 0; i <= 1000; ++i)
        loopDepth = std::max(loopDepth, ShockPolarOrdinate(f, f.PointAx + (1 - f.PointAx) * i / 1000.0));
    const double shortLevel = origin.y() + 30;
    const double longLevel = origin.y() + loopDepth * at.Scale + 30;

    // Axes; the υ2y axis runs down to the dimensions as their common extension line.
    painter.setPen(thin);
    Arrow(painter, QPointF(origin.x() - 40, origin.y()), QPointF(748, origin.y()), 13, 3.5);
    painter.drawLine(QPointF(origin.x(), longLevel + 8), origin);
    Arrow(painter, origin, QPointF(origin.x(), 10), 13, 3.5);
    text.Velocity(QStringLiteral("2x")).DrawCentred(painter, 728, origin.y() - 20);
    text.Velocity(QStringLiteral("2y")).DrawCentred(painter, origin.x() + 28, 18);
    text.Letter(QStringLiteral("0")).DrawCentred(painter, origin.x() - 24, origin.y() + 14);

    // The circle of the critical speed, with its radius drawn into the empty upper left.
    const double criticalRadius = f.CriticalSpeed * at.Scale;
    painter.setPen(DashedPen());
    painter.drawEllipse(origin, criticalRadius, criticalRadius);
    painter.setPen(thin);
    const double radiusAngle = 145.0 * Pi / 180.0;
    Arrow(painter, origin, origin + ScreenPolar(criticalRadius, radiusAngle), 13, 3.5);
    {
        Row label = text.Letter(QStringLiteral("c"));
        label.Add(text.Small(QStringLiteral("*")), 1, -8);
        const QPointF place = origin + ScreenPolar(criticalRadius * 0.6, radiusAngle) +
                              ScreenPolar(18, radiusAngle + Pi / 2);
        label.DrawCentred(painter, place.x(), place.y());
    }

    // The shock polar: the closed loop from A to B, mirrored about the axis.  The samples
    // crowd towards A and B, where the branches turn steeply.
    QPolygonF upperBranch;
    constexpr int Samples = 800;
    for (int i = 0; i <= Samples; ++i) {
        const double t = (1.0 - std::cos(Pi * i / Samples)) / 2.0;
        const double u = f.PointAx + (1.0 - f.PointAx) * t;
        upperBranch << at(u, ShockPolarOrdinate(f, u));
    }
    QPolygonF loop = upperBranch;
    for (int i = Samples; i >= 0; --i)
        loop << QPointF(upperBranch[i].x(), 2 * origin.y() - upperBranch[i].y());
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolygon(loop);

    // The tangents from 0; the upper one touches the loop at K.
    painter.setPen(thin);
    const double tangentLength = std::hypot(f.K.x(), f.K.y()) * at.Scale + 60;
    painter.drawLine(origin, origin + ScreenPolar(tangentLength, f.MaxWedgeAngle));
    painter.drawLine(origin, origin + ScreenPolar(tangentLength, -f.MaxWedgeAngle));
    {
        const QPointF place = pointK + ScreenPolar(17, f.MaxWedgeAngle + Pi / 2);
        text.Letter(QStringLiteral("K")).DrawCentred(painter, place.x() - 4, place.y());
    }

    // A and B, and their distances from 0 below the axis.
    text.Letter(QStringLiteral("A")).DrawCentred(painter, pointA.x() - 13, pointA.y() - 14);
    text.Letter(QStringLiteral("B")).DrawCentred(painter, pointB.x() + 15, pointB.y() + 15);
    painter.drawLine(pointA, QPointF(pointA.x(), shortLevel + 8));
    DimensionLine(painter, QPointF(origin.x(), shortLevel), QPointF(pointA.x(), shortLevel));
    // Its label sits between the axis and the dimension, clear of the lower tangent.
    text.Velocity(QString(QStringLiteral("2")) + QChar(0x22A5))
        .DrawCentred(painter, pointA.x() - 32, (origin.y() + shortLevel) / 2);
    painter.setPen(DashedPen());
    painter.drawLine(pointB, QPointF(pointB.x(), longLevel + 8));
    painter.setPen(thin);
    DimensionLine(painter, QPointF(origin.x(), longLevel), QPointF(pointB.x(), longLevel));
    text.Velocity(QStringLiteral("1")).DrawCentred(painter, (origin.x() + pointB.x()) / 2, longLevel + 16);

    // The shock front through 0 at φ to the axis, long enough to carry the dimensions along BD.
    const double inner = 26; // pixels from BD to the dimension υ2n
    const double outer = 56; // and to υ1n
    painter.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(origin - along * 22, origin + along * (lengthOD + outer + 14));
    painter.setPen(thin);
    AngleArc(painter, origin, 44, 0, phi);
    {
        const QPointF place = origin + ScreenPolar(60, (phi + f.MaxWedgeAngle) / 2);
        text.Letter(QString(QChar(0x03C6))).DrawCentred(painter, place.x(), place.y());
    }

    // The line from B through C to D, the foot of the perpendicular on the front; beyond D it
    // serves as the extension line of the dimension along the front.
    const double sideOffset = 24; // pixels from the front to the dimension υ1t = υ2t
    painter.drawLine(pointB, pointD + across * (sideOffset + 8));
    {
        const QPointF toB = (pointB - pointD) / std::hypot((pointB - pointD).x(), (pointB - pointD).y());
        const double side = 10;
        const QPointF corner = pointD + toB * side - along * side;
        painter.drawLine(pointD + toB * side, corner);
        painter.drawLine(pointD - along * side, corner);
        const QPointF place = pointD + (along + across) * 13;
        text.Letter(QStringLiteral("D")).DrawCentred(painter, place.x(), place.y());
    }

    // Normal components along BD, measured from the front on its outer side: υ2n to C, υ1n to B.
    painter.drawLine(pointC + along * 5, pointC + along * (inner + 7));
    painter.drawLine(pointB + along * 5, pointB + along * (outer + 7));
    DimensionLine(painter, pointD + along * inner, pointC + along * inner);
    DimensionLine(painter, pointD + along * outer, pointB + along * outer);
    {
        const QPointF place2 = (pointD + pointC) / 2 + along * (inner + 15);
        text.Velocity(QStringLiteral("2n")).DrawCentred(painter, place2.x(), place2.y());
        const QPointF place1 = (pointD + pointB) / 2 + along * (outer + 15);
        text.Velocity(QStringLiteral("1n")).DrawCentred(painter, place1.x(), place1.y());
    }

    // The tangential component, the same on both sides of the front, from 0 to D.
    painter.drawLine(origin + across * 5, origin + across * (sideOffset + 8));
    DimensionLine(painter, origin + across * sideOffset, pointD + across * sideOffset);
    {
        Row row = text.Velocity(QStringLiteral("1t"));
        row.Add(text.Sign(QStringLiteral("=")), 6);
        row.Add(text.Velocity(QStringLiteral("2t")), 6);
        // Left of the dimension, level with its upper part (above the υ2y projection), its lower
        // right corner eight pixels from the line.
        const QPointF start = origin + across * sideOffset;
        const double centreY = origin.y() - 0.8 * lengthOD * std::sin(phi);
        const double bottomY = centreY + (row.Bottom() - row.Top()) / 2.0;
        const double lineX = start.x() + (start.y() - bottomY) / std::tan(phi);
        row.DrawCentred(painter, lineX - 8 - row.Width() / 2.0, centreY);
    }

    // The velocity behind the shock: its projections, the vector itself and its angle χ.
    painter.setPen(DashedPen());
    painter.drawLine(pointC, pointC1);
    painter.drawLine(pointC, QPointF(origin.x(), pointC.y()));
    painter.setPen(thin);
    text.Letter(QStringLiteral("C")).DrawCentred(painter, pointC.x() + 25, pointC.y() - 12);
    {
        Row c1 = text.Letter(QStringLiteral("C"));
        text.AddSubscript(c1, QStringLiteral("1"));
        c1.DrawCentred(painter, pointC1.x() - 16, pointC1.y() - 14);
    }
    text.Velocity(QStringLiteral("2x")).DrawCentred(painter, pointC1.x() + 4, pointC1.y() + 17);
    text.Velocity(QStringLiteral("2y")).DrawCentred(painter, origin.x() - 24, pointC.y());

    painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::FlatCap));
    const QPointF towardsC = (pointC - origin) / std::hypot((pointC - origin).x(), (pointC - origin).y());
    painter.drawLine(origin, pointC - towardsC * 14);
    Arrowhead(painter, pointC, origin, 18, 5);
    painter.setPen(thin);
    {
        const QPointF place = origin + towardsC * (0.78 * std::hypot(f.C.x(), f.C.y()) * at.Scale) +
                              ScreenPolar(16, chi - Pi / 2);
        text.Velocity(QStringLiteral("2")).DrawCentred(painter, place.x(), place.y());
    }
    const double chiRadius = 92;
    AngleArc(painter, origin, chiRadius, 0, chi - 0.05);
    Arrowhead(painter, origin + ScreenPolar(chiRadius, chi), origin + ScreenPolar(chiRadius, chi - 0.12), 10, 3);
    {
        const QPointF place = origin + ScreenPolar(chiRadius - 16, chi / 2);
        text.Letter(QString(QChar(0x03C7))).DrawCentred(painter, place.x(), place.y());
    }

    // β at C, between the vertical through C and the line CB: the front is normal to CB, so
    // β equals φ.
    AngleArc(painter, pointC, 32, -Pi / 2, phi - Pi / 2);
    {
        const QPointF place = pointC + ScreenPolar(46, phi / 2 - Pi / 2);
        text.Letter(QString(QChar(0x03B2))).DrawCentred(painter, place.x(), place.y());
    }

    // The note at the right.
    {
        Row note = text.Letter(QString(QChar(0x03C6)));
        note.Add(text.Sign(QStringLiteral("=")), 8).Add(text.Letter(QString(QChar(0x03B2))), 8);
        note.DrawCentred(painter, 668, 70);
    }
    return image;
}

} // namespace zk::pictures
