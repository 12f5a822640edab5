#pragma once

#include <memory>

#include "platform/core/stream.h"
#include "platform/data/dataset.h"

namespace kw {

// A stream over the value of a blob or memo field (memos as UTF-8). Read mode starts with the
// value and refuses writes; write mode starts empty; read-write mode starts with the value.
// A written stream stores its contents in the field when it is destroyed, provided the edit or
// insert it was opened in is still going on; otherwise the contents are dropped.
class TBlobStream : public TMemoryStream {
    KW_CLASS(TBlobStream)
public:
    // Write modes need the dataset in edit or insert state.
    TBlobStream(TField& field, TBlobStreamMode mode);
    ~TBlobStream() override;

    std::int64_t Write(const void* buffer, std::int64_t count) override;
    void SetSize(std::int64_t size) override;
    // Stores the contents in the field now; raises what the field raises.
    void Commit();

private:
    void CheckWritable() const;

    TField* field_;
    TBlobStreamMode mode_;
    std::weak_ptr<void> editToken_;
    bool dirty_ = false;
};

}  // namespace kw
