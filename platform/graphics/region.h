#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/graphics/graphics_types.h"
#include "platform/graphics/raster.h"

struct pixman_region32;

namespace kw {

class TBitmap;

enum class TRegionCombine { rgnAnd = 1, rgnOr = 2, rgnXor = 3, rgnDiff = 4, rgnCopy = 5 };
enum class TPolyFillMode { pfmAlternate = 1, pfmWinding = 2 };
enum class TRegionKind { rkNull = 1, rkSimple = 2, rkComplex = 3 };

KW_DECLARE_EXCEPTION(ERegionError, Exception);

// The most rows a region built from a shape may span: taller than any screen or window, yet small
// enough that building one row by row stays a matter of milliseconds. A few bytes of coordinates
// must not cost seconds and hundreds of megabytes.
inline constexpr std::int64_t kMaxRegionRows = std::int64_t{1} << 16;

// A set of pixels made of rectangles, with the platform's half-open rules: a rectangle region
// (0, 0, 10, 10) holds x and y from 0 to 9. A plain value: copies are independent.
class TRegion {
public:
    TRegion();
    explicit TRegion(const TRect& rect);
    TRegion(const TRegion& other);
    TRegion(TRegion&& other) noexcept;
    TRegion& operator=(const TRegion& other);
    TRegion& operator=(TRegion&& other) noexcept;
    ~TRegion();

    static TRegion FromRects(std::span<const TRect> rects);
    // The pixels whose integer points lie inside the closed polygon under the fill rule: left
    // and top edges are inside, right and bottom edges outside. The same pixels Polygon fills.
    static TRegion FromPolygon(std::span<const TPoint> points, TPolyFillMode mode);
    // The rows a scan converter hands to the sink, top to bottom. Raises ERegionError beyond
    // 16 million rows.
    static TRegion FromRows(const std::function<void(const RowSink&)>& produce);
    // The set pixels (index 1) of a 1-bit bitmap. Raises EInvalidGraphicOperation for others.
    static TRegion FromMask(const TBitmap& mask);

    // The platform region data block: a 32-byte header {dwSize = 32, iType = 1, nCount,
    // nRgnSize, rcBound} followed by nCount rectangles of 16 bytes, all little-endian.
    std::vector<Byte> RegionData() const;
    // Raises ERegionError, naming the fault, for a block that is not well formed.
    static TRegion FromRegionData(std::span<const Byte> data);

    // This region becomes `a` combined with `b` (`b` is ignored by rgnCopy); either may be this
    // region itself.
    TRegionKind Combine(const TRegion& a, const TRegion& b, TRegionCombine mode);
    TRegionKind Kind() const;
    void Offset(int dx, int dy);
    bool Contains(int x, int y) const;
    bool IntersectsRect(const TRect& rect) const;
    // The smallest rectangle holding the region; empty at (0, 0) for an empty region.
    TRect Bounds() const;
    bool IsEmpty() const;
    int RectCount() const;
    // The rectangles in band order: top to bottom, and left to right within a band.
    std::vector<TRect> Rects() const;
    friend bool operator==(const TRegion& a, const TRegion& b);

    const pixman_region32* Native() const { return region_.get(); }
    pixman_region32* Native() { return region_.get(); }

private:
    struct Deleter {
        void operator()(pixman_region32* region) const;
    };
    std::unique_ptr<pixman_region32, Deleter> region_;
};

}  // namespace kw
