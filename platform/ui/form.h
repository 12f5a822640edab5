#pragma once

#include "platform/ui/control.h"

namespace kw {

// A top-level window. Every form is listed in the screen's form list while it exists.
class TCustomForm : public TWinControl {
    KW_CLASS(TCustomForm)
public:
    explicit TCustomForm(TComponent* owner = nullptr);
    ~TCustomForm() override;

    const String& Caption() const { return caption_; }
    void SetCaption(const String& caption) { caption_ = caption; }
    bool Scaled() const { return scaled_; }
    void SetScaled(bool scaled) { scaled_ = scaled; }

    // A form streams the controls it holds and the other components it owns.
    void GetChildren(const std::function<void(TComponent&)>& proc, TComponent* root) override;
    bool HasParent() const override { return Parent() != nullptr; }

private:
    String caption_;
    bool scaled_ = true;
};

class TForm : public TCustomForm {
    KW_CLASS(TForm)
public:
    using TCustomForm::TCustomForm;
};

}  // namespace kw
