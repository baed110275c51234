// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's fixed pictures: the formula pictures beside the result labels and input fields,
// the sketch of the task and the theory picture that explains the shock polar.  Every picture is
// drawn here, aliased, in pure black on white (or on transparency), so that it looks the same on
// every screen and in print.  The text needs fonts, so a QGuiApplication must exist.
#include <QImage>
#include <QPointF>
#include <functional>

namespace zk::pictures {

// While one lives, the pictures are drawn at a device scale: images of scale times their size
// with that device pixel ratio, the same figures with lines, letters and signs at device
// resolution.  The pictures of the screen and the printed page.
class PictureScale {
public:
    explicit PictureScale(int scale);
    ~PictureScale();
    PictureScale(const PictureScale&) = delete;
    PictureScale& operator=(const PictureScale&) = delete;

private:
    int previous_;
};

// A picture function as a source of the picture at any device scale.
std::function<QImage(int scale)> AtScale(QImage (*picture)());

// Main window.  Opaque pictures are QImage::Format_RGB32 holding only black and white pixels.
QImage TaskSketch();             // Image1, 145 x 65: the wedge in the stream, asking for υ1 and χ
QImage VelocityDensityFormula(); // Image2, 75 x 50: V2/V1 = ρ1/ρ2 =
QImage PressureRatioFormula();   // Image3, 40 x 50: P2/P1 =
QImage SpeedRatioFormula();      // Image4, 40 x 50: υ2/υ1 =
QImage TemperatureRatioFormula(); // Image5, 40 x 50: T2/T1 =
// Image6 of the main window (shown shrunk to 33 x 33) and Image2 of the settings window, 50 x 50:
// C1 = with a bold C.  Its strokes are at least two pixels wide so that they survive the shrinking.
QImage SoundSpeedFormula();
QImage GammaFormula(); // Image7, 25 x 25: γ =
// Image8, 25 x 25: χmax =.  Format_ARGB32, black on a transparent background.
QImage ChiMaxFormula();
// Image9 of the main window and of the flight window's panel, 20 x 20: χ =.  Format_ARGB32,
// black on a transparent background.
QImage ChiFormula();
QImage VelocityFormula(); // Image10, 20 x 20: υ1 =

// Settings window.
QImage GammaTimesTenFormula(); // Image1, 75 x 50: γ × 10 =

// Theory window: Image11, 758 x 527, Format_RGB888.  A textbook figure of the shock polar in the
// hodograph plane with the oblique shock constructed from it.  Column 0, the last three columns
// and the last two rows stay white, because the window does not show them.
QImage TheoryPicture();

// The construction that the theory picture draws, in units of the free-stream speed υ1 (so B is
// at (1, 0)); angles in radians.  The polar and the shock are computed for a real gas flow, so
// the figure is true to scale.
struct TheoryFigure {
    double Gamma = 0;         // ratio of specific heats
    double Mach = 0;          // free-stream Mach number υ1 / c1
    double CriticalSpeed = 0; // c*, the radius of the dashed circle
    double PointAx = 0;       // A = (c*² / υ1, 0), the end of the polar for a normal shock
    double ShockAngle = 0;    // φ, angle of the shock front to the υ2x axis
    double WedgeAngle = 0;    // χ, angle of υ2 to the υ2x axis
    double MaxWedgeAngle = 0; // angle of the tangent from 0 that touches the polar at K
    QPointF C;                // end of υ2, on the upper branch of the polar
    QPointF D;                // foot of the perpendicular from B on the shock front
    QPointF K;                // upper point of contact of the tangent from 0
};
TheoryFigure TheoryFigureGeometry();

// The upper branch of the shock polar of figure f at abscissa u (both in units of υ1), for
// PointAx <= u <= 1; 0 outside that range.
double ShockPolarOrdinate(const TheoryFigure& f, double u);

} // namespace zk::pictures
