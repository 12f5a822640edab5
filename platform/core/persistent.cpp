#include "platform/core/persistent.h"

#include "platform/core/exception.h"

namespace kw {

KW_IMPLEMENT_CLASS(TPersistent, TObject)

void TPersistent::Assign(const TPersistent* source) {
    if (source != nullptr) {
        source->AssignTo(*this);
    } else {
        AssignError(nullptr);
    }
}

void TPersistent::AssignTo(TPersistent& dest) const {
    dest.AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const {
    const String sourceName = source != nullptr ? source->ClassName() : String(u"nil");
    throw EConvertError(u"Cannot assign a " + sourceName + u" to a " + ClassName());
}

}  // namespace kw
