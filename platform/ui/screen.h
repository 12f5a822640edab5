#pragma once

#include <vector>

#include "platform/core/types.h"

namespace kw {

class TCustomForm;
class TControl;

// The process-wide screen: the open forms in the order they were created, and the display
// density. Forms add and remove themselves.
class TScreen {
public:
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const;
    const std::vector<TCustomForm*>& FormList() const { return forms_; }

    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi; }
    TCustomForm* ActiveForm() const { return activeForm_; }
    void SetActiveForm(TCustomForm* form) { activeForm_ = form; }

    void AddForm(TCustomForm& form);
    void RemoveForm(TCustomForm& form);
    // Back to the start-up state; open forms stay listed.
    void Reset();

private:
    std::vector<TCustomForm*> forms_;
    TCustomForm* activeForm_ = nullptr;
    int pixelsPerInch_ = 96;
};

TScreen& Screen();

}  // namespace kw
