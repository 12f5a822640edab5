#include "platform/graphics/region.h"

#include <pixman.h>

#include <algorithm>
#include <cstring>

#include "platform/core/byte_io.h"
#include "platform/graphics/bitmap.h"
#include "platform/text/strings.h"

namespace kw {

namespace {

constexpr std::uint32_t kRegionHeaderSize = 32;
constexpr std::uint32_t kRegionRectSize = 16;
constexpr std::uint32_t kRectanglesType = 1;
// Vertical reach of a polygon; beyond it the scan would take unreasonably long.
constexpr std::int64_t kMaxPolygonRows = std::int64_t{1} << 24;

void Check(pixman_bool_t ok) {
    if (!ok)
        throw EOutOfResources(u"Out of memory while building a region");
}

pixman_box32_t ToBox(const TRect& r) {
    return {r.Left, r.Top, r.Right, r.Bottom};
}

void PutRect(ByteWriter& out, const TRect& r) {
    for (int value : {r.Left, r.Top, r.Right, r.Bottom})
        out.I32(value);
}

[[noreturn]] void MalformedRegion(StringView why) {
    throw ERegionError(u"Malformed region data: " + String(why));
}

TRegion FromBoxes(const std::vector<pixman_box32_t>& boxes) {
    TRegion region;
    if (boxes.empty())
        return region;
    pixman_region32_fini(region.Native());
    Check(
        pixman_region32_init_rects(region.Native(), boxes.data(), static_cast<int>(boxes.size())));
    return region;
}

// Row spans gathered top to bottom; rows with the spans of the row above extend its band.
class BandBuilder {
public:
    void AddRow(int y, const std::vector<std::pair<int, int>>& spans) {
        if (!spans.empty() && y == bandBottom_ && spans == bandSpans_) {
            ++bandBottom_;
            return;
        }
        Flush();
        bandSpans_ = spans;
        bandTop_ = y;
        bandBottom_ = y + 1;
    }
    std::vector<pixman_box32_t> Finish() {
        Flush();
        return std::move(boxes_);
    }

private:
    void Flush() {
        for (const auto& [x1, x2] : bandSpans_)
            boxes_.push_back({x1, bandTop_, x2, bandBottom_});
        bandSpans_.clear();
    }

    std::vector<pixman_box32_t> boxes_;
    std::vector<std::pair<int, int>> bandSpans_;
    int bandTop_ = 0;
    int bandBottom_ = 0;
};

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

struct Crossing {
    std::int64_t x;  // first pixel column whose centre lies at or right of the edge
    int direction;
};

// Where the edge p-q crosses the centre line of row y, as a pixel column: ceil(X - 1/2), with X
// the exact crossing abscissa.
std::int64_t CrossingColumn(const TPoint& p, const TPoint& q, std::int64_t y) {
    const std::int64_t dy = q.Y - p.Y;
    const std::int64_t numerator =
        2 * std::int64_t{p.X} * dy + (2 * y + 1 - 2 * std::int64_t{p.Y}) * (q.X - p.X) - dy;
    return -FloorDiv(-numerator, 2 * dy);
}

std::vector<std::pair<int, int>> SpansOfRow(std::vector<Crossing>& crossings, TPolyFillMode mode) {
    std::sort(crossings.begin(), crossings.end(),
              [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    std::vector<std::pair<int, int>> spans;
    int winding = 0;
    for (std::size_t i = 0; i < crossings.size(); ++i) {
        const bool wasInside = mode == TPolyFillMode::pfmAlternate ? (i % 2) == 1 : winding != 0;
        winding += crossings[i].direction;
        const bool inside = mode == TPolyFillMode::pfmAlternate ? (i % 2) == 0 : winding != 0;
        if (!wasInside && inside) {
            spans.emplace_back(static_cast<int>(crossings[i].x), 0);
        } else if (wasInside && !inside) {
            spans.back().second = static_cast<int>(crossings[i].x);
            if (spans.back().second <= spans.back().first)
                spans.pop_back();
        }
    }
    // Runs that touch (winding rule) merge, so identical rows coalesce into one band.
    std::vector<std::pair<int, int>> merged;
    for (const auto& span : spans) {
        if (!merged.empty() && span.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, span.second);
        else
            merged.push_back(span);
    }
    return merged;
}

}  // namespace

void TRegion::Deleter::operator()(pixman_region32* region) const {
    pixman_region32_fini(region);
    delete region;
}

TRegion::TRegion() : region_(new pixman_region32) {
    pixman_region32_init(region_.get());
}

TRegion::TRegion(const TRect& rect) : TRegion() {
    if (!rect.IsEmpty()) {
        const pixman_box32_t box = ToBox(rect);
        pixman_region32_reset(region_.get(), &box);
    }
}

TRegion::TRegion(const TRegion& other) : TRegion() {
    Check(pixman_region32_copy(region_.get(), other.region_.get()));
}

TRegion::TRegion(TRegion&& other) noexcept : TRegion() {
    std::swap(region_, other.region_);
}

TRegion& TRegion::operator=(const TRegion& other) {
    if (this != &other)
        Check(pixman_region32_copy(region_.get(), other.region_.get()));
    return *this;
}

TRegion& TRegion::operator=(TRegion&& other) noexcept {
    std::swap(region_, other.region_);
    return *this;
}

TRegion::~TRegion() = default;

TRegion TRegion::FromRects(std::span<const TRect> rects) {
    std::vector<pixman_box32_t> boxes;
    boxes.reserve(rects.size());
    for (const TRect& r : rects) {
        if (!r.IsEmpty())
            boxes.push_back(ToBox(r));
    }
    return FromBoxes(boxes);
}

TRegion TRegion::FromPolygon(std::span<const TPoint> points, TPolyFillMode mode) {
    if (points.size() < 3)
        return TRegion();
    auto [low, high] = std::minmax_element(
        points.begin(), points.end(), [](const TPoint& a, const TPoint& b) { return a.Y < b.Y; });
    const int top = low->Y;
    const int bottom = high->Y;
    if (std::int64_t{bottom} - top > kMaxPolygonRows)
        throw ERegionError(u"The polygon is too tall for a region");
    BandBuilder bands;
    std::vector<Crossing> crossings;
    for (int y = top; y < bottom; ++y) {
        crossings.clear();
        for (std::size_t i = 0; i < points.size(); ++i) {
            const TPoint& a = points[i];
            const TPoint& b = points[(i + 1) % points.size()];
            if (a.Y == b.Y)
                continue;
            const bool down = a.Y < b.Y;
            const TPoint& p = down ? a : b;
            const TPoint& q = down ? b : a;
            if (y >= p.Y && y < q.Y)
                crossings.push_back({CrossingColumn(p, q, y), down ? 1 : -1});
        }
        bands.AddRow(y, SpansOfRow(crossings, mode));
    }
    return FromBoxes(bands.Finish());
}

TRegion TRegion::FromMask(const TBitmap& mask) {
    if (mask.PixelFormat() != TPixelFormat::pf1bit)
        throw EInvalidGraphicOperation(u"A region mask must be a 1-bit bitmap");
    BandBuilder bands;
    std::vector<std::pair<int, int>> spans;
    for (int y = 0; y < mask.Height(); ++y) {
        spans.clear();
        const Byte* row = mask.ScanLine(y);
        auto bit = [row](int x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; };
        for (int x = 0; x < mask.Width();) {
            if (!bit(x)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < mask.Width() && bit(x))
                ++x;
            spans.emplace_back(start, x);
        }
        bands.AddRow(y, spans);
    }
    return FromBoxes(bands.Finish());
}

std::vector<Byte> TRegion::RegionData() const {
    const std::vector<TRect> rects = Rects();
    ByteWriter out;
    out.U32(kRegionHeaderSize);
    out.U32(kRectanglesType);
    out.U32(static_cast<std::uint32_t>(rects.size()));
    out.U32(static_cast<std::uint32_t>(rects.size() * kRegionRectSize));
    PutRect(out, Bounds());
    for (const TRect& r : rects)
        PutRect(out, r);
    return out.Take();
}

TRegion TRegion::FromRegionData(std::span<const Byte> data) {
    const ByteReader in(data, u"region");
    if (data.size() < kRegionHeaderSize)
        MalformedRegion(Format(u"%d bytes are shorter than the 32-byte header", {data.size()}));
    if (in.U32At(0) != kRegionHeaderSize)
        MalformedRegion(Format(u"header size %d instead of 32", {in.U32At(0)}));
    if (in.U32At(4) != kRectanglesType)
        MalformedRegion(Format(u"type %d instead of 1 (rectangles)", {in.U32At(4)}));
    const std::uint64_t count = in.U32At(8);
    const std::uint64_t rectBytes = count * kRegionRectSize;
    const std::uint64_t available = data.size() - kRegionHeaderSize;
    if (rectBytes > available) {
        MalformedRegion(Format(u"%d rectangles need %d bytes but only %d follow the header",
                               {count, rectBytes, available}));
    }
    const std::uint64_t declared = in.U32At(12);
    if (declared != 0 && (declared < rectBytes || declared > available)) {
        MalformedRegion(Format(u"rectangle size %d does not fit %d rectangles", {declared, count}));
    }
    std::vector<pixman_box32_t> boxes;
    boxes.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::size_t at = kRegionHeaderSize + i * kRegionRectSize;
        const pixman_box32_t box{static_cast<std::int32_t>(in.U32At(at)),
                                 static_cast<std::int32_t>(in.U32At(at + 4)),
                                 static_cast<std::int32_t>(in.U32At(at + 8)),
                                 static_cast<std::int32_t>(in.U32At(at + 12))};
        if (box.x2 < box.x1 || box.y2 < box.y1)
            MalformedRegion(Format(u"rectangle %d is inverted", {i}));
        if (box.x2 > box.x1 && box.y2 > box.y1)
            boxes.push_back(box);
    }
    return FromBoxes(boxes);
}

TRegionKind TRegion::Combine(const TRegion& a, const TRegion& b, TRegionCombine mode) {
    pixman_region32* dest = region_.get();
    switch (mode) {
        case TRegionCombine::rgnAnd:
            Check(pixman_region32_intersect(dest, a.Native(), b.Native()));
            break;
        case TRegionCombine::rgnOr:
            Check(pixman_region32_union(dest, a.Native(), b.Native()));
            break;
        case TRegionCombine::rgnDiff:
            Check(pixman_region32_subtract(dest, a.Native(), b.Native()));
            break;
        case TRegionCombine::rgnCopy:
            Check(pixman_region32_copy(dest, a.Native()));
            break;
        case TRegionCombine::rgnXor: {
            TRegion onlyA, onlyB;
            Check(pixman_region32_subtract(onlyA.Native(), a.Native(), b.Native()));
            Check(pixman_region32_subtract(onlyB.Native(), b.Native(), a.Native()));
            Check(pixman_region32_union(dest, onlyA.Native(), onlyB.Native()));
            break;
        }
        default:
            throw ERegionError(Format(u"Unknown region combination %d", {static_cast<int>(mode)}));
    }
    return Kind();
}

TRegionKind TRegion::Kind() const {
    switch (pixman_region32_n_rects(region_.get())) {
        case 0:
            return TRegionKind::rkNull;
        case 1:
            return TRegionKind::rkSimple;
        default:
            return TRegionKind::rkComplex;
    }
}

void TRegion::Offset(int dx, int dy) {
    pixman_region32_translate(region_.get(), dx, dy);
}

bool TRegion::Contains(int x, int y) const {
    return pixman_region32_contains_point(region_.get(), x, y, nullptr);
}

bool TRegion::IntersectsRect(const TRect& rect) const {
    if (rect.IsEmpty())
        return false;
    const pixman_box32_t box = ToBox(rect);
    return pixman_region32_contains_rectangle(region_.get(), &box) != PIXMAN_REGION_OUT;
}

TRect TRegion::Bounds() const {
    if (IsEmpty())
        return {};
    const pixman_box32_t* e = pixman_region32_extents(region_.get());
    return {e->x1, e->y1, e->x2, e->y2};
}

bool TRegion::IsEmpty() const {
    return !pixman_region32_not_empty(region_.get());
}

int TRegion::RectCount() const {
    return pixman_region32_n_rects(region_.get());
}

std::vector<TRect> TRegion::Rects() const {
    int count = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(region_.get(), &count);
    std::vector<TRect> rects;
    rects.reserve(count);
    for (int i = 0; i < count; ++i)
        rects.emplace_back(boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2);
    return rects;
}

bool operator==(const TRegion& a, const TRegion& b) {
    if (a.IsEmpty() || b.IsEmpty())
        return a.IsEmpty() == b.IsEmpty();
    return pixman_region32_equal(a.Native(), b.Native());
}

}  // namespace kw
