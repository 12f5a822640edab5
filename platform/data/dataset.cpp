#include "platform/data/dataset.h"

#include <algorithm>

#include "platform/data/blob_stream.h"
#include "platform/data/data_link.h"

namespace kw {

KW_IMPLEMENT_CLASS(TDataSet, TComponent)

namespace {

bool IsEditState(TDataSetState state) {
    return state == TDataSetState::dsEdit || state == TDataSetState::dsInsert;
}

bool SameCell(const TCellView& a, const TCellView& b) {
    const bool aNumber = a.kind == TCellKind::ckInteger || a.kind == TCellKind::ckFloat;
    const bool bNumber = b.kind == TCellKind::ckInteger || b.kind == TCellKind::ckFloat;
    if (aNumber && bNumber && a.kind != b.kind) {
        auto asDouble = [](const TCellView& c) {
            return c.kind == TCellKind::ckInteger ? static_cast<double>(c.integer) : c.number;
        };
        return asDouble(a) == asDouble(b);
    }
    if (a.kind != b.kind)
        return false;
    switch (a.kind) {
        case TCellKind::ckNull:
            return true;
        case TCellKind::ckInteger:
            return a.integer == b.integer;
        case TCellKind::ckFloat:
            return a.number == b.number;
        case TCellKind::ckText:
        case TCellKind::ckBytes:
            return a.size == b.size && std::equal(a.data, a.data + a.size, b.data);
    }
    return false;
}

}  // namespace

TDataSet::TDataSet(TComponent* owner)
    : TComponent(owner),
      fields_(std::make_unique<TFields>()),
      rows_(std::make_unique<TRecordStore>()) {}

TDataSet::~TDataSet() {
    CloseForDestruction();
    while (!sources_.empty())
        sources_.back()->SetDataSet(nullptr);
}

void TDataSet::CloseForDestruction() noexcept {
    try {
        Close();
    } catch (...) {  // NOLINT(bugprone-empty-catch): nothing can be reported while destroying
    }
}

// --- Errors and checks ---------------------------------------------------------------------

namespace {

[[noreturn]] void DatabaseError(const TComponent& component, const String& message) {
    if (component.Name().empty())
        throw EDatabaseError(message);
    throw EDatabaseError(component.Name() + u": " + message);
}

}  // namespace

void TDataSet::CheckActive() const {
    if (!Active())
        DatabaseError(*this, u"Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckCanModify() const {
    if (!CanModify())
        DatabaseError(*this, u"Cannot modify a read-only dataset");
}

void TDataSet::CheckEditing() const {
    if (!IsEditState(state_) && state_ != TDataSetState::dsSetKey)
        DatabaseError(*this, u"Dataset not in edit or insert mode");
}

void TDataSet::CheckRequiredFields() const {
    for (const auto& field : *fields_) {
        if (field->Required() && edit_[static_cast<std::size_t>(field->Index())].IsNull())
            DatabaseError(*this, u"Field '" + field->FieldName() + u"' must have a value");
    }
}

bool TDataSet::CanModify() const {
    return Active() && !readOnly_ && ProviderCanModify();
}

void TDataSet::SetReadOnly(bool value) {
    if (readOnly_ == value)
        return;
    readOnly_ = value;
    if (Active())
        DataEvent(TDataEvent::deDataSetChange);
}

// --- Events --------------------------------------------------------------------------------

void TDataSet::Fire(const TDataSetNotifyEvent& event) {
    if (event)
        event(*this);
}

void TDataSet::SetState(TDataSetState state) {
    if (state_ == state)
        return;
    state_ = state;
    modified_ = false;
    DataEvent(TDataEvent::deUpdateState);
}

void TDataSet::DataEvent(TDataEvent event, TField* field, int distance) {
    if (disableCount_ > 0 && event != TDataEvent::deUpdateRecord &&
        event != TDataEvent::deCheckBrowseMode) {
        stateChangedWhileDisabled_ |= event == TDataEvent::deUpdateState;
        return;
    }
    // Indexed: a source may detach itself while it is being told.
    for (std::size_t i = 0; i < sources_.size(); ++i)
        sources_[i]->DataEvent(event, field, distance);
}

void TDataSet::DisableControls() {
    if (disableCount_++ == 0)
        stateChangedWhileDisabled_ = false;
}

void TDataSet::EnableControls() {
    if (disableCount_ == 0 || --disableCount_ > 0)
        return;
    if (stateChangedWhileDisabled_)
        DataEvent(TDataEvent::deUpdateState);
    DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::AddDataSource(TDataSource& source) {
    sources_.push_back(&source);
}

void TDataSet::RemoveDataSource(TDataSource& source) {
    std::erase(sources_, &source);
}

// --- Opening and closing -------------------------------------------------------------------

void TDataSet::SetActive(bool value) {
    if (value)
        Open();
    else
        Close();
}

void TDataSet::Open() {
    if (Active())
        return;
    Fire(BeforeOpen);
    try {
        InternalOpen();
    } catch (...) {
        InternalClose();
        ClearCursor();
        throw;
    }
    cursor_ = rows_->Count() > 0 ? 0 : -1;
    bof_ = true;
    eof_ = rows_->Count() == 0;
    SetState(TDataSetState::dsBrowse);
    DataEvent(TDataEvent::deDataSetChange);
    Fire(AfterOpen);
    Fire(AfterScroll);
}

void TDataSet::Close() {
    if (!Active())
        return;
    Fire(BeforeClose);
    EndEditBuffer();
    SetState(TDataSetState::dsInactive);
    InternalClose();
    ClearCursor();
    Fire(AfterClose);
}

void TDataSet::ClearCursor() {
    fields_->Clear();
    rows_->Clear();
    rows_->SetColumnCount(0);
    cursor_ = -1;
    bof_ = eof_ = true;
}

TField& TDataSet::AddField(String fieldName, TFieldType dataType) {
    TField& field = fields_->Add(*this, std::move(fieldName), dataType);
    rows_->SetColumnCount(fields_->Count());
    return field;
}

TField& TDataSet::FieldByName(StringView fieldName) const {
    TField* field = FindField(fieldName);
    if (field == nullptr)
        DatabaseError(*this, u"Field '" + String(fieldName) + u"' not found");
    return *field;
}

std::unique_ptr<TStream> TDataSet::CreateBlobStream(TField& field, TBlobStreamMode mode) {
    return std::make_unique<TBlobStream>(field, mode);
}

// --- Navigation ----------------------------------------------------------------------------

bool TDataSet::IsEmpty() const {
    return rows_->Count() == 0;
}

int TDataSet::RecordCount() const {
    return rows_->Count();
}

int TDataSet::RecNo() const {
    if (state_ == TDataSetState::dsInsert || cursor_ < 0)
        return 0;
    return cursor_ + 1;
}

void TDataSet::SetPosition(int row, bool bof, bool eof, int distance) {
    cursor_ = row;
    bof_ = bof;
    eof_ = eof;
    if (distance != 0)
        DataEvent(TDataEvent::deDataSetScroll, nullptr, distance);
    else
        DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::First() {
    CheckBrowseMode();
    Fire(BeforeScroll);
    SetPosition(IsEmpty() ? -1 : 0, true, IsEmpty(), 0);
    Fire(AfterScroll);
}

void TDataSet::Last() {
    CheckBrowseMode();
    Fire(BeforeScroll);
    SetPosition(rows_->Count() - 1, IsEmpty(), true, 0);
    Fire(AfterScroll);
}

void TDataSet::Next() {
    MoveBy(1);
}

void TDataSet::Prior() {
    MoveBy(-1);
}

int TDataSet::MoveBy(int distance) {
    CheckBrowseMode();
    if (distance == 0 || (distance > 0 && eof_) || (distance < 0 && bof_))
        return 0;
    Fire(BeforeScroll);
    const int count = rows_->Count();
    // Widened: a distance near the int limits must not wrap.
    const std::int64_t wanted = std::int64_t{cursor_} + distance;
    const int target = static_cast<int>(std::clamp<std::int64_t>(wanted, 0, count - 1));
    const int moved = target - cursor_;
    SetPosition(target, wanted < 0, wanted >= count, moved);
    Fire(AfterScroll);
    return moved;
}

TBookmark TDataSet::GetBookmark() const {
    if (!Active() || state_ == TDataSetState::dsInsert || cursor_ < 0)
        return 0;
    return rows_->RowId(cursor_);
}

bool TDataSet::BookmarkValid(TBookmark bookmark) const {
    return Active() && bookmark != 0 && rows_->IndexOfId(bookmark, cursor_) >= 0;
}

void TDataSet::GotoBookmark(TBookmark bookmark) {
    CheckBrowseMode();
    const int row = bookmark == 0 ? -1 : rows_->IndexOfId(bookmark, cursor_);
    if (row < 0)
        DatabaseError(*this, u"Record not found");
    GotoRow(row);
}

void TDataSet::GotoRow(int row) {
    Fire(BeforeScroll);
    SetPosition(row, false, false, 0);
    Fire(AfterScroll);
}

int TDataSet::FindRow(const TRecordCells& key) const {
    for (int row = 0; row < rows_->Count(); ++row) {
        bool match = true;
        for (std::size_t column = 0; match && column < key.size(); ++column) {
            if (!key[column].IsNull())
                match = SameCell(rows_->Cell(row, static_cast<int>(column)), key[column].View());
        }
        if (match)
            return row;
    }
    return -1;
}

bool TDataSet::Locate(StringView fieldName, const Variant& value) {
    CheckBrowseMode();
    const TField& field = FieldByName(fieldName);
    TRecordCells key(static_cast<std::size_t>(FieldCount()));
    key[static_cast<std::size_t>(field.Index())] = field.ToCell(value);
    const int row = FindRow(key);
    if (row >= 0)
        GotoRow(row);
    return row >= 0;
}

void TDataSet::SetKey() {
    CheckBrowseMode();
    StartEditBuffer(TRecordCells(static_cast<std::size_t>(FieldCount())));
    SetState(TDataSetState::dsSetKey);
}

bool TDataSet::GotoKey() {
    if (state_ != TDataSetState::dsSetKey)
        DatabaseError(*this, u"Dataset not in set-key state");
    const TRecordCells key = std::move(edit_);
    EndEditBuffer();
    SetState(TDataSetState::dsBrowse);
    const int row = FindRow(key);
    if (row >= 0)
        GotoRow(row);
    else
        DataEvent(TDataEvent::deDataSetChange);
    return row >= 0;
}

// --- Editing -------------------------------------------------------------------------------

TCellView TDataSet::BufferCell(int index) const {
    return Active() ? edit_[static_cast<std::size_t>(index)].View() : TCellView{};
}

void TDataSet::SetFieldCell(TField& field, TRecordCell cell) {
    CheckEditing();
    if (state_ != TDataSetState::dsSetKey && field.ReadOnly())
        DatabaseError(*this, u"Field '" + field.FieldName() + u"' cannot be modified");
    const auto index = static_cast<std::size_t>(field.Index());
    edit_[index] = std::move(cell);
    changed_[index] = true;
    if (state_ == TDataSetState::dsSetKey)
        return;
    modified_ = true;
    DataEvent(TDataEvent::deFieldChange, &field);
}

void TDataSet::StartEditBuffer(TRecordCells cells) {
    edit_ = std::move(cells);
    changed_.assign(edit_.size(), false);
    editToken_ = std::make_shared<int>(0);
}

void TDataSet::EndEditBuffer() {
    edit_.clear();
    changed_.clear();
    editToken_.reset();
}

void TDataSet::Insert() {
    CheckBrowseMode();
    CheckCanModify();
    BeginInsert(std::max(cursor_, 0), false);
}

void TDataSet::Append() {
    CheckBrowseMode();
    CheckCanModify();
    BeginInsert(rows_->Count(), true);
}

void TDataSet::BeginInsert(int position, bool atEnd) {
    Fire(BeforeInsert);
    Fire(BeforeScroll);
    insertAt_ = position;
    StartEditBuffer(TRecordCells(static_cast<std::size_t>(FieldCount())));
    bof_ = false;
    eof_ = atEnd;
    SetState(TDataSetState::dsInsert);
    try {
        Fire(OnNewRecord);
    } catch (...) {
        Cancel();
        throw;
    }
    modified_ = false;
    DataEvent(TDataEvent::deDataSetChange);
    Fire(AfterInsert);
    Fire(AfterScroll);
}

void TDataSet::Edit() {
    CheckActive();
    if (IsEditState(state_))
        return;
    if (IsEmpty()) {
        Insert();
        return;
    }
    CheckBrowseMode();
    CheckCanModify();
    Fire(BeforeEdit);
    TRecordCells cells;
    cells.reserve(static_cast<std::size_t>(FieldCount()));
    for (int column = 0; column < FieldCount(); ++column)
        cells.push_back(TRecordCell::FromView(rows_->Cell(cursor_, column)));
    StartEditBuffer(std::move(cells));
    SetState(TDataSetState::dsEdit);
    DataEvent(TDataEvent::deRecordChange);
    Fire(AfterEdit);
}

void TDataSet::UpdateRecord() {
    CheckEditing();
    DataEvent(TDataEvent::deUpdateRecord);
}

void TDataSet::CheckBrowseMode() {
    CheckActive();
    DataEvent(TDataEvent::deCheckBrowseMode);
    switch (state_) {
        case TDataSetState::dsEdit:
        case TDataSetState::dsInsert:
            UpdateRecord();
            if (modified_)
                Post();
            else
                Cancel();
            break;
        case TDataSetState::dsSetKey:
            Post();
            break;
        default:
            break;
    }
}

void TDataSet::Post() {
    CheckActive();
    if (state_ == TDataSetState::dsSetKey) {
        EndEditBuffer();
        SetState(TDataSetState::dsBrowse);
        DataEvent(TDataEvent::deDataSetChange);
        return;
    }
    if (!IsEditState(state_))
        return;
    UpdateRecord();
    DataEvent(TDataEvent::deCheckBrowseMode);
    Fire(BeforePost);
    CheckRequiredFields();
    PostRecord();
}

void TDataSet::PostRecord() {
    const int row = state_ == TDataSetState::dsInsert ? -1 : cursor_;
    for (;;) {
        try {
            InternalPost(edit_, changed_, row);
            break;
        } catch (const std::exception& error) {
            TDataAction action = TDataAction::daFail;
            if (OnPostError)
                OnPostError(*this, error, action);
            if (action == TDataAction::daFail)
                throw;
            if (action == TDataAction::daAbort)
                return;
        }
    }
    StoreRecord();
    EndEditBuffer();
    bof_ = eof_ = false;
    SetState(TDataSetState::dsBrowse);
    DataEvent(TDataEvent::deDataSetChange);
    Fire(AfterPost);
}

void TDataSet::StoreRecord() {
    TRowEncoder encoder;
    encoder.Begin(FieldCount());
    for (const TRecordCell& cell : edit_)
        encoder.AddView(cell.View());
    if (state_ == TDataSetState::dsInsert) {
        rows_->Insert(insertAt_, encoder.Finish());
        cursor_ = insertAt_;
    } else {
        rows_->Replace(cursor_, encoder.Finish());
    }
}

void TDataSet::Cancel() {
    switch (state_) {
        case TDataSetState::dsEdit:
        case TDataSetState::dsInsert:
            DataEvent(TDataEvent::deCheckBrowseMode);
            Fire(BeforeCancel);
            EndEditBuffer();
            bof_ = eof_ = IsEmpty();
            SetState(TDataSetState::dsBrowse);
            DataEvent(TDataEvent::deDataSetChange);
            Fire(AfterCancel);
            break;
        case TDataSetState::dsSetKey:
            EndEditBuffer();
            SetState(TDataSetState::dsBrowse);
            DataEvent(TDataEvent::deDataSetChange);
            break;
        default:
            break;
    }
}

void TDataSet::Delete() {
    CheckActive();
    if (state_ == TDataSetState::dsInsert || state_ == TDataSetState::dsSetKey) {
        Cancel();
        return;
    }
    if (IsEmpty())
        DatabaseError(*this, u"Cannot perform this operation on an empty dataset");
    CheckCanModify();
    DataEvent(TDataEvent::deCheckBrowseMode);
    Fire(BeforeDelete);
    Fire(BeforeScroll);
    InternalDelete(cursor_);
    rows_->Erase(cursor_);
    EndEditBuffer();
    cursor_ = std::min(cursor_, rows_->Count() - 1);
    bof_ = eof_ = IsEmpty();
    SetState(TDataSetState::dsBrowse);
    DataEvent(TDataEvent::deDataSetChange);
    Fire(AfterDelete);
    Fire(AfterScroll);
}

void TDataSet::Refresh() {
    CheckBrowseMode();
    Fire(BeforeRefresh);
    const bool wasEmpty = IsEmpty();
    const int row = InternalRefresh(cursor_);
    cursor_ = std::min(std::max(row, 0), rows_->Count() - 1);
    if (IsEmpty()) {
        bof_ = eof_ = true;
    } else if (wasEmpty) {
        bof_ = true;
        eof_ = false;
    }
    DataEvent(TDataEvent::deDataSetChange);
    Fire(AfterRefresh);
}

void TDataSet::AppendRecord(const std::vector<Variant>& values) {
    Append();
    const int count = std::min(static_cast<int>(values.size()), FieldCount());
    for (int i = 0; i < count; ++i)
        Fields()[i].SetValue(values[static_cast<std::size_t>(i)]);
    Post();
}

}  // namespace kw
