#pragma once

#include <memory>

#include "drawing/pen_brush.h"
#include "drawing/shapes.h"

namespace kw {

// A shape as a style object: which of the shapes, mirrored or not, and where it points.
class TKwBasicShape : public TKwStyleObject {
    KW_CLASS(TKwBasicShape)
public:
    TKwShapes Shape() const { return shape_; }
    void SetShape(TKwShapes shape);
    bool Reflection() const { return reflection_; }
    void SetReflection(bool reflection);
    TKwShapeOrientation Orientation() const { return orientation_; }
    void SetOrientation(TKwShapeOrientation orientation);

    void Assign(const TPersistent* source) override;

protected:
    void AssignShape(const TKwBasicShape& source);

private:
    TKwShapes shape_ = shaRectangle;
    bool reflection_ = false;
    TKwShapeOrientation orientation_ = sorDefault;
};

// A shape with its border, pressed state, brush and pen: what a shape control paints.
class TKwFullShape : public TKwBasicShape {
    KW_CLASS(TKwFullShape)
public:
    TKwFullShape();
    ~TKwFullShape() override;

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    TKwBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TKwBorderStyle style);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    bool Down() const { return down_; }
    void SetDown(bool down);
    TKwBrush& Brush() const { return *brush_; }
    void SetBrush(const TKwBrush& brush) { brush_->Assign(&brush); }
    TKwPen& Pen() const { return *pen_; }
    void SetPen(const TKwPen& pen) { pen_->Assign(&pen); }

    void Assign(const TPersistent* source) override;

private:
    bool visible_ = false;
    TKwBorderStyle borderStyle_ = bosSingle;
    int borderWidth_ = 1;
    bool down_ = false;
    std::unique_ptr<TKwBrush> brush_;
    std::unique_ptr<TKwPen> pen_;
};

}  // namespace kw
