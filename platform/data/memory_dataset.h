#pragma once

#include <vector>

#include "platform/data/dataset.h"

namespace kw {

// A dataset whose rows live in memory while it is open, for code that needs a dataset without
// a database. Its fields are described before opening; closing drops the rows.
class TMemoryDataSet : public TDataSet {
    KW_CLASS(TMemoryDataSet)
public:
    explicit TMemoryDataSet(TComponent* owner = nullptr);
    ~TMemoryDataSet() override;

    // Raises EDatabaseError while the dataset is open.
    void AddFieldDef(String fieldName, TFieldType dataType);
    void ClearFieldDefs();

protected:
    void InternalOpen() override;

private:
    struct FieldDef {
        String name;
        TFieldType type;
    };
    void CheckInactive() const;

    std::vector<FieldDef> fieldDefs_;
};

}  // namespace kw
