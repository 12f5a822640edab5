#include "platform/data/blob_stream.h"

#include "platform/data/db_error.h"

namespace kw {

KW_IMPLEMENT_CLASS(TBlobStream, TMemoryStream)

TBlobStream::TBlobStream(TField& field, TBlobStreamMode mode) : field_(&field), mode_(mode) {
    if (!field.IsBlob())
        throw EDatabaseError(u"Field '" + field.FieldName() + u"' is not a blob field");
    if (mode != TBlobStreamMode::bmRead) {
        const TDataSetState state = field.DataSet().State();
        if (state != TDataSetState::dsEdit && state != TDataSetState::dsInsert)
            throw EDatabaseError(u"Dataset not in edit or insert mode");
        if (!field.CanModify())
            throw EDatabaseError(u"Field '" + field.FieldName() + u"' cannot be modified");
        editToken_ = field.DataSet().EditToken();
    }
    if (mode != TBlobStreamMode::bmWrite) {
        const TBytes bytes = field.AsBytes();
        TMemoryStream::Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        SetPosition(0);
    }
    dirty_ = mode == TBlobStreamMode::bmWrite;
}

TBlobStream::~TBlobStream() {
    try {
        Commit();
    } catch (...) {  // NOLINT(bugprone-empty-catch): a destructor must not raise; Commit reports
    }
}

void TBlobStream::CheckWritable() const {
    if (mode_ == TBlobStreamMode::bmRead)
        throw EStreamError(u"Blob stream opened for reading only");
}

std::int64_t TBlobStream::Write(const void* buffer, std::int64_t count) {
    CheckWritable();
    dirty_ = true;
    return TMemoryStream::Write(buffer, count);
}

void TBlobStream::SetSize(std::int64_t size) {
    CheckWritable();
    dirty_ = true;
    TMemoryStream::SetSize(size);
}

void TBlobStream::Commit() {
    if (!dirty_ || editToken_.expired())
        return;
    field_->SetAsBytes(Bytes());
    dirty_ = false;
}

}  // namespace kw
