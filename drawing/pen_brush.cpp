#include "drawing/pen_brush.h"

#include "display/default_sets.h"
#include "display/set_references.h"

namespace kw {

KW_IMPLEMENT_CLASS(TKwStyleObject, TPersistent)
KW_IMPLEMENT_CLASS(TKwBrush, TKwStyleObject)
KW_IMPLEMENT_CLASS(TKwPen, TKwStyleObject)

void TKwStyleObject::Change() {
    if (holding_) {
        heldChange_ = true;
        return;
    }
    if (OnChange)
        OnChange(*this);
}

void TKwStyleObject::Batch(const std::function<void()>& copy) {
    holding_ = true;
    heldChange_ = false;
    try {
        copy();
    } catch (...) {
        holding_ = false;
        throw;
    }
    holding_ = false;
    if (heldChange_)
        Change();
}

TKwBrush::TKwBrush()
    : setBackGround_(std::make_unique<TKwSetBackGround>(&KwSetBackGround(), true)) {
    setBackGround_->OnChange = [this](TKwSetReference&) { Change(); };
}

TKwBrush::~TKwBrush() = default;

void TKwBrush::SetSetBackGround(const TKwSetBackGround& set) {
    setBackGround_->Assign(&set);
}

void TKwBrush::SetStyle(TKwBrushStyle style) {
    if (Store(style_, style))
        Change();
}

void TKwBrush::Assign(const TPersistent* source) {
    const auto* brush = dynamic_cast<const TKwBrush*>(source);
    if (brush == nullptr) {
        TKwStyleObject::Assign(source);
        return;
    }
    Batch([&] {
        SetSetBackGround(brush->SetBackGround());
        SetStyle(brush->Style());
    });
}

TKwPen::TKwPen() : setColor_(std::make_unique<TKwSetColor>(&KwSetColBox(), true)) {
    setColor_->OnChange = [this](TKwSetReference&) { Change(); };
}

TKwPen::~TKwPen() = default;

void TKwPen::SetSetColor(const TKwSetColor& set) {
    setColor_->Assign(&set);
}

void TKwPen::SetStyle(TKwPenStyle style) {
    if (Store(style_, style))
        Change();
}

void TKwPen::SetWidth(int width) {
    if (Store(width_, width))
        Change();
}

void TKwPen::Assign(const TPersistent* source) {
    const auto* pen = dynamic_cast<const TKwPen*>(source);
    if (pen == nullptr) {
        TKwStyleObject::Assign(source);
        return;
    }
    Batch([&] {
        SetSetColor(pen->SetColor());
        SetStyle(pen->Style());
        SetWidth(pen->Width());
    });
}

}  // namespace kw
