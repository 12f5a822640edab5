#include "platform/ui/screen.h"

#include <algorithm>

#include "platform/core/exception.h"
#include "platform/core/no_destructor.h"
#include "platform/text/strings.h"
#include "platform/ui/form.h"

namespace kw {

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount()) {
        throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
    }
    return forms_[static_cast<size_t>(index)];
}

void TScreen::AddForm(TCustomForm& form) {
    if (std::find(forms_.begin(), forms_.end(), &form) == forms_.end())
        forms_.push_back(&form);
}

void TScreen::RemoveForm(TCustomForm& form) {
    std::erase(forms_, &form);
    if (activeForm_ == &form)
        activeForm_ = nullptr;
}

void TScreen::Reset() {
    activeForm_ = nullptr;
    pixelsPerInch_ = 96;
}

TScreen& Screen() {
    static TNoDestructor<TScreen> screen;
    return *screen;
}

}  // namespace kw
