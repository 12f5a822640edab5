#pragma once

#include "platform/core/object.h"

namespace kw {

class TFiler;

// An object that can copy itself from another one and store itself in a form stream.
class TPersistent : public TObject {
    KW_CLASS(TPersistent)
public:
    // Copies Source into this object. The default asks Source to AssignTo this object and,
    // when neither side knows the other, raises EConvertError "Cannot assign a %s to a %s".
    virtual void Assign(const TPersistent* source);
    // Extra values this object stores in a form stream besides its published properties.
    virtual void DefineProperties(TFiler& filer) {}
    // The object this one belongs to, for name paths; none by default.
    virtual TPersistent* GetOwner() const { return nullptr; }
    virtual String GetNamePath() const { return ClassName(); }

protected:
    virtual void AssignTo(TPersistent& dest) const;
    [[noreturn]] void AssignError(const TPersistent* source) const;
};

}  // namespace kw
