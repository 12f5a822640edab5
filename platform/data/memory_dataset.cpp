#include "platform/data/memory_dataset.h"

namespace kw {

KW_IMPLEMENT_CLASS(TMemoryDataSet, TDataSet)

TMemoryDataSet::TMemoryDataSet(TComponent* owner) : TDataSet(owner) {}

TMemoryDataSet::~TMemoryDataSet() {
    CloseForDestruction();
}

void TMemoryDataSet::CheckInactive() const {
    if (Active())
        throw EDatabaseError(u"Cannot perform this operation on an open dataset");
}

void TMemoryDataSet::AddFieldDef(String fieldName, TFieldType dataType) {
    CheckInactive();
    fieldDefs_.push_back(FieldDef{std::move(fieldName), dataType});
}

void TMemoryDataSet::ClearFieldDefs() {
    CheckInactive();
    fieldDefs_.clear();
}

void TMemoryDataSet::InternalOpen() {
    for (const FieldDef& def : fieldDefs_)
        AddField(def.name, def.type);
}

}  // namespace kw
