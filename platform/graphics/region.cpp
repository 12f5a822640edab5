#include "platform/graphics/region.h"

#include <pixman.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/core/byte_io.h"
#include "platform/graphics/bitmap.h"
#include "platform/text/strings.h"

namespace kw {

namespace {

constexpr std::uint32_t kRegionHeaderSize = 32;
constexpr std::uint32_t kRegionRectSize = 16;
constexpr std::uint32_t kRectanglesType = 1;

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
    if (std::int64_t{high->Y} - low->Y > kMaxRegionRows)
        throw ERegionError(u"The polygon is too tall for a region");
    return FromRows([&](const RowSink& sink) {
        PolygonRows(points, mode, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                    sink);
    });
}

TRegion TRegion::FromRows(const std::function<void(const RowSink&)>& produce) {
    BandBuilder bands;
    std::int64_t rows = 0;
    produce([&](int y, const RowSpans& spans) {
        if (++rows > kMaxRegionRows)
            throw ERegionError(u"The shape is too tall for a region");
        bands.AddRow(y, spans);
    });
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
