#include "kwsysimages/glyph_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kwsysimages {

namespace {

constexpr int kSamples = 8;  // per pixel side
constexpr int kArcStepsPerTurn = 96;

bool PolygonContains(const TPolygon& polygon, TPoint2 p) {
    bool inside = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const TPoint2 a = polygon[i], b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y))
            inside = !inside;
    }
    return inside;
}

struct TBounds {
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;

    void Include(const TBounds& other) {
        left = std::min(left, other.left);
        top = std::min(top, other.top);
        right = std::max(right, other.right);
        bottom = std::max(bottom, other.bottom);
    }
    bool Contains(TPoint2 p) const {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
};

// A shape with the bounds of each polygon, so that most samples are decided without walking
// the edges: sampling dominates the generator's running time.
class TPreparedShape {
public:
    explicit TPreparedShape(const TShape& shape)
        : solids_(Prepare(shape.solids)), holes_(Prepare(shape.holes)) {
        for (const TPrepared& solid : solids_)
            bounds_.Include(solid.bounds);
    }

    const TBounds& Bounds() const { return bounds_; }
    bool Contains(TPoint2 p) const { return AnyContains(solids_, p) && !AnyContains(holes_, p); }

private:
    struct TPrepared {
        const TPolygon* polygon;
        TBounds bounds;
    };

    static std::vector<TPrepared> Prepare(const std::vector<TPolygon>& polygons) {
        std::vector<TPrepared> prepared;
        for (const TPolygon& polygon : polygons) {
            TBounds bounds;
            for (TPoint2 p : polygon)
                bounds.Include({p.x, p.y, p.x, p.y});
            if (!polygon.empty())
                prepared.push_back({&polygon, bounds});
        }
        return prepared;
    }
    static bool AnyContains(const std::vector<TPrepared>& polygons, TPoint2 p) {
        return std::any_of(polygons.begin(), polygons.end(), [p](const TPrepared& prepared) {
            return prepared.bounds.Contains(p) && PolygonContains(*prepared.polygon, p);
        });
    }

    std::vector<TPrepared> solids_;
    std::vector<TPrepared> holes_;
    TBounds bounds_;
};

// The share of a pixel's samples inside the shape.
double Coverage(const TPreparedShape& shape, int x, int y) {
    const TBounds& b = shape.Bounds();
    if (x + 1 < b.left || x > b.right || y + 1 < b.top || y > b.bottom)
        return 0;
    int hits = 0;
    for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx)
            hits += shape.Contains({x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples});
    }
    return static_cast<double>(hits) / (kSamples * kSamples);
}

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

// The segment from a to b widened to `width`, with square ends.
TPolygon Segment(TPoint2 a, TPoint2 b, double width) {
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (length == 0)
        return {};
    const double nx = -(b.y - a.y) / length * width / 2, ny = (b.x - a.x) / length * width / 2;
    return {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}};
}

std::uint8_t Channel(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value * 255.0), 0L, 255L));
}

}  // namespace

TShape& TShape::Add(const TShape& other) {
    solids.insert(solids.end(), other.solids.begin(), other.solids.end());
    holes.insert(holes.end(), other.holes.begin(), other.holes.end());
    return *this;
}

TPoint2 OnCircle(TPoint2 centre, double radius, double degrees) {
    return {centre.x + radius * std::cos(Radians(degrees)),
            centre.y - radius * std::sin(Radians(degrees))};
}

TShape Polygon(TPolygon points) {
    return {{std::move(points)}, {}};
}

TShape Rect(double left, double top, double right, double bottom) {
    return Polygon({{left, top}, {right, top}, {right, bottom}, {left, bottom}});
}

TShape RegularPolygon(TPoint2 centre, double radius, int corners, double startDegrees) {
    TPolygon points;
    for (int i = 0; i < corners; ++i)
        points.push_back(OnCircle(centre, radius, startDegrees + 360.0 * i / corners));
    return Polygon(std::move(points));
}

TShape Disc(TPoint2 centre, double radius) {
    return RegularPolygon(centre, radius, kArcStepsPerTurn, 0);
}

TShape Ring(TPoint2 centre, double outerRadius, double innerRadius) {
    TShape ring = Disc(centre, outerRadius);
    ring.holes = Disc(centre, innerRadius).solids;
    return ring;
}

TShape Stroke(const TPolygon& points, double width) {
    TShape shape;
    for (size_t i = 0; i < points.size(); ++i) {
        shape.Add(Disc(points[i], width / 2));
        if (i > 0 && !Segment(points[i - 1], points[i], width).empty())
            shape.solids.push_back(Segment(points[i - 1], points[i], width));
    }
    return shape;
}

TPolygon ArcPoints(TPoint2 centre, double radius, double fromDegrees, double toDegrees) {
    const int steps = std::max(1, static_cast<int>(std::ceil(std::abs(toDegrees - fromDegrees) /
                                                             360.0 * kArcStepsPerTurn)));
    TPolygon points;
    for (int i = 0; i <= steps; ++i)
        points.push_back(
            OnCircle(centre, radius, fromDegrees + (toDegrees - fromDegrees) * i / steps));
    return points;
}

TShape CircularArrow(TPoint2 centre, double radius, double width, double fromDegrees,
                     double toDegrees, double headSize) {
    // The arc stops short of its end so that the head's tip, not the pen, ends it.
    const double direction = toDegrees > fromDegrees ? 1.0 : -1.0;
    const double shortened = toDegrees - direction * headSize / radius * 180.0 / std::numbers::pi;
    TShape arrow = Stroke(ArcPoints(centre, radius, fromDegrees, shortened), width);
    const TPoint2 base = OnCircle(centre, radius, shortened);
    const double a = Radians(shortened);
    // The arc's direction of travel, and the outward radius, at the head's base.
    const TPoint2 along{-std::sin(a) * direction, -std::cos(a) * direction};
    const TPoint2 out{std::cos(a), -std::sin(a)};
    arrow.solids.push_back({{base.x + out.x * headSize, base.y + out.y * headSize},
                            {base.x + along.x * headSize * 1.2, base.y + along.y * headSize * 1.2},
                            {base.x - out.x * headSize, base.y - out.y * headSize}});
    return arrow;
}

TGlyph Recoloured(TGlyph glyph, std::uint32_t rgb) {
    for (TLayer& layer : glyph)
        layer.argb = (layer.argb & 0xFF000000u) | (rgb & 0x00FFFFFFu);
    return glyph;
}

std::unique_ptr<kw::TBitmap> Render(const TGlyph& glyph, int size) {
    struct TPremultiplied {
        double r = 0, g = 0, b = 0, a = 0;
    };
    std::vector<TPremultiplied> pixels(static_cast<size_t>(size) * size);
    for (const TLayer& layer : glyph) {
        const TPreparedShape shape(layer.shape);
        const double alpha = (layer.argb >> 24) / 255.0;
        const double r = ((layer.argb >> 16) & 0xFF) / 255.0,
                     g = ((layer.argb >> 8) & 0xFF) / 255.0, b = (layer.argb & 0xFF) / 255.0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const double cover = alpha * Coverage(shape, x, y);
                TPremultiplied& p = pixels[static_cast<size_t>(y) * size + x];
                p = {r * cover + p.r * (1 - cover), g * cover + p.g * (1 - cover),
                     b * cover + p.b * (1 - cover), cover + p.a * (1 - cover)};
            }
        }
    }
    auto bitmap = std::make_unique<kw::TBitmap>(size, size, kw::TPixelFormat::pf32bit);
    bitmap->SetAlphaFormat(kw::TAlphaFormat::afDefined);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const TPremultiplied& p = pixels[static_cast<size_t>(y) * size + x];
            const std::uint8_t a = Channel(p.a);
            const std::uint32_t argb =
                a == 0 ? 0u
                       : (std::uint32_t{a} << 24) | (std::uint32_t{Channel(p.r / p.a)} << 16) |
                             (std::uint32_t{Channel(p.g / p.a)} << 8) | Channel(p.b / p.a);
            bitmap->SetPixelArgb(x, y, argb);
        }
    }
    return bitmap;
}

}  // namespace kwsysimages
