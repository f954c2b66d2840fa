#pragma once

#include <QPoint>
#include <QRect>

// Integer points and rectangles. A rectangle holds its left and top edges and excludes its
// right and bottom edges.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;

    static TRect FromSize(QPoint topLeft, QPoint size) {
        return {topLeft.x(), topLeft.y(), topLeft.x() + size.x(), topLeft.y() + size.y()};
    }
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    QPoint TopLeft() const { return {Left, Top}; }
    QRect ToQRect() const { return QRect(Left, Top, Width(), Height()); }
    bool operator==(const TRect&) const = default;

    // Left and top edges inside, right and bottom edges outside.
    bool Contains(QPoint p) const { return p.x() >= Left && p.x() < Right && p.y() >= Top && p.y() < Bottom; }
    // Touching edges count as overlap.
    bool Overlaps(const TRect& o) const {
        return Right >= o.Left && o.Right >= Left && Bottom >= o.Top && o.Bottom >= Top;
    }
    TRect Inflated(int d) const { return {Left - d, Top - d, Right + d, Bottom + d}; }
    TRect Offset(QPoint d) const { return {Left + d.x(), Top + d.y(), Right + d.x(), Bottom + d.y()}; }
    QPoint Centre() const { return {(Left + Right) / 2, (Top + Bottom) / 2}; }
    // A rectangle of this one's size centred on a point (integer halving).
    TRect CentredOn(QPoint c) const {
        const int l = c.x() - Width() / 2, t = c.y() - Height() / 2;
        return {l, t, l + Width(), t + Height()};
    }
    // This rectangle's size centred in another rectangle.
    TRect CentredIn(const TRect& outer) const { return CentredOn(outer.Centre()); }
};

// A point divided by a real, each coordinate truncated toward zero.
inline QPoint DividePoint(QPoint p, double d) { return QPoint(int(p.x() / d), int(p.y() / d)); }
