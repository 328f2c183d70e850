#pragma once

#include <algorithm>

// Points, sizes and rectangles in pixels; a rectangle includes its left and top edges and excludes
// its right and bottom edges.

struct CSize {
    int cx = 0;
    int cy = 0;

    constexpr CSize() = default;
    constexpr CSize(int width, int height) : cx(width), cy(height) {}
    friend constexpr bool operator==(const CSize&, const CSize&) = default;
};

struct CPoint {
    int x = 0;
    int y = 0;

    constexpr CPoint() = default;
    constexpr CPoint(int left, int top) : x(left), y(top) {}
    constexpr void Offset(int dx, int dy) { x += dx; y += dy; }
    friend constexpr bool operator==(const CPoint&, const CPoint&) = default;
    friend constexpr CPoint operator+(CPoint point, CSize size) { return {point.x + size.cx, point.y + size.cy}; }
    friend constexpr CPoint operator-(CPoint point, CSize size) { return {point.x - size.cx, point.y - size.cy}; }
};

struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    constexpr CRect(CPoint topLeft, CSize size)
        : left(topLeft.x), top(topLeft.y), right(topLeft.x + size.cx), bottom(topLeft.y + size.cy) {}

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr CSize Size() const { return {Width(), Height()}; }
    constexpr CPoint TopLeft() const { return {left, top}; }
    constexpr CPoint BottomRight() const { return {right, bottom}; }
    constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
    constexpr bool PtInRect(CPoint point) const
    {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }
    constexpr void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
    constexpr void SetRectEmpty() { *this = CRect(); }

    // Sets this rectangle to the overlap of both; empty (all zero) when they do not overlap.
    constexpr bool IntersectRect(const CRect& first, const CRect& second)
    {
        CRect overlap(std::max(first.left, second.left), std::max(first.top, second.top),
                      std::min(first.right, second.right), std::min(first.bottom, second.bottom));
        *this = overlap.IsRectEmpty() ? CRect() : overlap;
        return !IsRectEmpty();
    }
    // Sets this rectangle to the smallest one holding both; an empty one does not count.
    constexpr bool UnionRect(const CRect& first, const CRect& second)
    {
        if (first.IsRectEmpty()) { *this = second; return !IsRectEmpty(); }
        if (second.IsRectEmpty()) { *this = first; return true; }
        *this = CRect(std::min(first.left, second.left), std::min(first.top, second.top),
                      std::max(first.right, second.right), std::max(first.bottom, second.bottom));
        return true;
    }
    friend constexpr bool operator==(const CRect&, const CRect&) = default;
};
