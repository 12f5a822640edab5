#include "drawing/shape_styles.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwBasicShape, TKwStyleObject)
KW_IMPLEMENT_CLASS(TKwFullShape, TKwBasicShape)

void TKwBasicShape::SetShape(TKwShapes shape) {
    if (Store(shape_, shape))
        Change();
}

void TKwBasicShape::SetReflection(bool reflection) {
    if (Store(reflection_, reflection))
        Change();
}

void TKwBasicShape::SetOrientation(TKwShapeOrientation orientation) {
    if (Store(orientation_, orientation))
        Change();
}

void TKwBasicShape::AssignShape(const TKwBasicShape& source) {
    SetShape(source.Shape());
    SetReflection(source.Reflection());
    SetOrientation(source.Orientation());
}

void TKwBasicShape::Assign(const TPersistent* source) {
    const auto* shape = dynamic_cast<const TKwBasicShape*>(source);
    if (shape == nullptr) {
        TKwStyleObject::Assign(source);
        return;
    }
    Batch([&] { AssignShape(*shape); });
}

TKwFullShape::TKwFullShape()
    : brush_(std::make_unique<TKwBrush>()), pen_(std::make_unique<TKwPen>()) {
    brush_->OnChange = [this](TKwStyleObject&) { Change(); };
    pen_->OnChange = [this](TKwStyleObject&) { Change(); };
}

TKwFullShape::~TKwFullShape() = default;

void TKwFullShape::SetVisible(bool visible) {
    if (Store(visible_, visible))
        Change();
}

void TKwFullShape::SetBorderStyle(TKwBorderStyle style) {
    if (Store(borderStyle_, style))
        Change();
}

void TKwFullShape::SetBorderWidth(int width) {
    if (Store(borderWidth_, width))
        Change();
}

void TKwFullShape::SetDown(bool down) {
    if (Store(down_, down))
        Change();
}

void TKwFullShape::Assign(const TPersistent* source) {
    const auto* full = dynamic_cast<const TKwFullShape*>(source);
    if (full == nullptr) {
        TKwBasicShape::Assign(source);
        return;
    }
    Batch([&] {
        AssignShape(*full);
        SetVisible(full->Visible());
        SetBorderStyle(full->BorderStyle());
        SetBorderWidth(full->BorderWidth());
        SetDown(full->Down());
        SetBrush(full->Brush());
        SetPen(full->Pen());
    });
}

}  // namespace kw
