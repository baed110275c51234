// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowPlacement.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zk {

namespace {

enum class Side { Right, Below, Left, Above };

struct Area {
    QRect Rect;
    Side Anchor; // which side of the area the window keeps to
};

// The scale, at most 1, at which the window's frame fits into area; 0 when it cannot.
double ScaleIn(const QRect& area, const PlacementRequest& r) {
    const int width = area.width() - r.Frame.left() - r.Frame.right();
    const int height = area.height() - r.Frame.top() - r.Frame.bottom();
    if (width <= 0 || height <= 0)
        return 0;
    return std::min({1.0, double(width) / r.Client.width(), double(height) / r.Client.height()});
}

QSize ClientAt(const PlacementRequest& r, double scale) {
    if (scale >= 1)
        return r.Client;
    return QSize(static_cast<int>(std::floor(r.Client.width() * scale)),
                 static_cast<int>(std::floor(r.Client.height() * scale)));
}

// The window in area, next to the owner on the area's anchored side and as close to the owner's
// top or left as the area allows.
Placement PlaceIn(const Area& area, const PlacementRequest& r, double scale) {
    const QSize client = ClientAt(r, scale);
    const QSize frame(client.width() + r.Frame.left() + r.Frame.right(),
                      client.height() + r.Frame.top() + r.Frame.bottom());
    const QRect& a = area.Rect;
    const auto clampX = [&](int x) {
        return std::clamp(x, a.left(), std::max(a.left(), a.right() + 1 - frame.width()));
    };
    const auto clampY = [&](int y) {
        return std::clamp(y, a.top(), std::max(a.top(), a.bottom() + 1 - frame.height()));
    };
    QPoint at;
    switch (area.Anchor) {
    case Side::Right:
        at = {a.left(), clampY(r.Owner.top())};
        break;
    case Side::Left:
        at = {a.right() + 1 - frame.width(), clampY(r.Owner.top())};
        break;
    case Side::Below:
        at = {clampX(r.Owner.left()), a.top()};
        break;
    case Side::Above:
        at = {clampX(r.Owner.left()), a.bottom() + 1 - frame.height()};
        break;
    }
    return {at, client, scale >= 1 ? 1.0 : double(client.width()) / r.Client.width()};
}

// The four parts of the screen around box, gap pixels away from it.
std::vector<Area> AreasAround(const QRect& box, const QRect& screen, int gap) {
    return {
        {QRect(QPoint(box.right() + 1 + gap, screen.top()), screen.bottomRight()), Side::Right},
        {QRect(QPoint(screen.left(), box.bottom() + 1 + gap), screen.bottomRight()), Side::Below},
        {QRect(screen.topLeft(), QPoint(box.left() - 1 - gap, screen.bottom())), Side::Left},
        {QRect(screen.topLeft(), QPoint(screen.right(), box.top() - 1 - gap)), Side::Above},
    };
}

// The part of area that keeps gap pixels away from part and gives the window the largest scale.
QRect Outside(const QRect& area, const QRect& part, int gap, const PlacementRequest& r) {
    const QRect p = part.adjusted(-gap, -gap, gap, gap);
    if (!area.intersects(p))
        return area;
    const QRect pieces[] = {
        QRect(area.topLeft(), QPoint(p.left() - 1, area.bottom())),
        QRect(QPoint(p.right() + 1, area.top()), area.bottomRight()),
        QRect(area.topLeft(), QPoint(area.right(), p.top() - 1)),
        QRect(QPoint(area.left(), p.bottom() + 1), area.bottomRight()),
    };
    QRect best;
    double bestScale = -1;
    for (const QRect& piece : pieces) {
        const double scale = piece.isValid() ? ScaleIn(piece, r) : -1;
        if (scale > bestScale) {
            bestScale = scale;
            best = piece;
        }
    }
    return best;
}

// The first area where the window fits whole, else the one with the largest scale.
const Area* Best(const std::vector<Area>& areas, const PlacementRequest& r, double& scale) {
    const Area* best = nullptr;
    scale = 0;
    for (const Area& area : areas) {
        if (!area.Rect.isValid())
            continue;
        const double s = ScaleIn(area.Rect, r);
        if (s >= 1) {
            scale = 1;
            return &area;
        }
        if (s > scale) {
            scale = s;
            best = &area;
        }
    }
    return best;
}

} // namespace

Placement PlaceBeside(const PlacementRequest& r) {
    // Beside the owner, leaving all of it free.
    const std::vector<Area> beside = AreasAround(r.Owner, r.Screen, r.Gap);
    double besideScale = 0;
    const Area* besideArea = Best(beside, r, besideScale);
    if (besideArea && besideScale >= r.MinimumScale) {
        Placement placement = PlaceIn(*besideArea, r, besideScale);
        placement.Beside = true;
        return placement;
    }
    // Over the rest of the owner, beside the parts that must stay free: around all of them or
    // around one, away from the others.
    QRect keep;
    for (const QRect& part : r.KeepFree)
        keep = keep.united(part);
    std::vector<Area> around;
    if (!keep.isEmpty())
        around = AreasAround(keep, r.Screen, r.Gap);
    for (const QRect& part : r.KeepFree) {
        for (Area area : AreasAround(part, r.Screen, r.Gap)) {
            for (const QRect& other : r.KeepFree)
                area.Rect = Outside(area.Rect, other, r.Gap, r);
            around.push_back(area);
        }
    }
    double aroundScale = 0;
    const Area* aroundArea = Best(around, r, aroundScale);
    if (aroundArea && aroundScale >= r.MinimumScale)
        return PlaceIn(*aroundArea, r, aroundScale);
    // Smaller than the window likes, wherever it is largest.
    if (r.MinimumScale < 1 && (besideArea || aroundArea))
        return besideScale >= aroundScale ? PlaceIn(*besideArea, r, besideScale)
                                          : PlaceIn(*aroundArea, r, aroundScale);
    // A screen too small for both: the window in the corner away from the parts kept free, moved
    // onto the screen.  (An area left of the owner keeps to its right edge.)
    const Area corner{r.Screen, keep.center().x() < r.Screen.center().x() ? Side::Left : Side::Right};
    return PlaceIn(corner, r, std::min(1.0, r.MinimumScale));
}

} // namespace zk
