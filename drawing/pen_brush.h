#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/core/persistent.h"

namespace kw {

class TKwSetBackGround;
class TKwSetColor;

enum TKwBrushStyle : std::uint8_t {
    brsClear,
    brsSolid,
    brsBDiagonal,
    brsFDiagonal,
    brsCross,
    brsDiagCross,
    brsHorizontal,
    brsVertical,
    brsGrid,
};
inline constexpr int kKwBrushStyles = brsGrid + 1;

enum TKwPenStyle : std::uint8_t { pesClear, pesSolid, pesDash, pesDot, pesDashDot, pesDashDotDot };
inline constexpr int kKwPenStyles = pesDashDotDot + 1;

enum TKwBorderStyle : std::uint8_t { bosNone, bosSingle, bos3D };

// Shared behaviour of the small style objects: a change event that setters fire only for a
// real change, and that Assign fires once for the whole copy.
class TKwStyleObject : public TPersistent {
    KW_CLASS(TKwStyleObject)
public:
    using TNotify = std::function<void(TKwStyleObject& sender)>;
    TNotify OnChange;

protected:
    void Change();
    // Stores `value` when it differs; true when it did.
    template <class T, class V>
    static bool Store(T& field, V value) {
        if (field == value)
            return false;
        field = value;
        return true;
    }
    // Runs `copy` with the change event held back, then fires it once if anything changed.
    void Batch(const std::function<void()>& copy);

private:
    bool holding_ = false;
    bool heldChange_ = false;
};

// The brush a shape is filled with: a background set (bound to "Dft_BackGround") and a style.
class TKwBrush : public TKwStyleObject {
    KW_CLASS(TKwBrush)
public:
    TKwBrush();
    ~TKwBrush() override;

    TKwSetBackGround& SetBackGround() const { return *setBackGround_; }
    void SetSetBackGround(const TKwSetBackGround& set);
    TKwBrushStyle Style() const { return style_; }
    void SetStyle(TKwBrushStyle style);

    void Assign(const TPersistent* source) override;

private:
    std::unique_ptr<TKwSetBackGround> setBackGround_;
    TKwBrushStyle style_ = brsSolid;
};

// The pen a shape is outlined with: a colour set (bound to "Dft_ColBox"), a style and a width.
class TKwPen : public TKwStyleObject {
    KW_CLASS(TKwPen)
public:
    TKwPen();
    ~TKwPen() override;

    TKwSetColor& SetColor() const { return *setColor_; }
    void SetSetColor(const TKwSetColor& set);
    TKwPenStyle Style() const { return style_; }
    void SetStyle(TKwPenStyle style);
    int Width() const { return width_; }
    void SetWidth(int width);

    void Assign(const TPersistent* source) override;

private:
    std::unique_ptr<TKwSetColor> setColor_;
    TKwPenStyle style_ = pesClear;
    int width_ = 1;
};

}  // namespace kw
