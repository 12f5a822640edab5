#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/component.h"
#include "platform/core/variant.h"
#include "platform/data/db_error.h"
#include "platform/data/field.h"
#include "platform/data/record_store.h"

namespace kw {

class TDataSource;
class TStream;

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey };

// What a dataset tells its data sources and, through them, their data links.
enum class TDataEvent {
    deFieldChange,      // one field of the current record changed (the field is given)
    deRecordChange,     // the current record changed as a whole
    deDataSetChange,    // the rows or the position changed
    deDataSetScroll,    // the position moved by a distance
    deLayoutChange,     // the fields changed
    deUpdateRecord,     // links must push their pending values into the fields
    deUpdateState,      // the dataset's state changed
    deCheckBrowseMode,  // the dataset is about to leave edit or insert state
};

// What to do after a failed post.
enum class TDataAction { daFail, daAbort, daRetry };

enum class TBlobStreamMode { bmRead, bmWrite, bmReadWrite };

// Identifies a record across inserts and deletes of other records; 0 is none.
using TBookmark = std::uint64_t;

// A cursor over rows held in memory, with the platform dataset's states and rules. A provider
// (a descendant) creates the fields and loads the rows when the dataset opens, and writes posts
// and deletes to its store; when it raises, the dataset stays as it was.
//
// Position rules: an empty dataset is at BOF and EOF. Open and First set BOF; Prior on the first
// record sets BOF; Next on the last record and Last set EOF. Moving in edit or insert state
// first posts a modified record or cancels an unmodified one.
class TDataSet : public TComponent {
    KW_CLASS(TDataSet)
public:
    explicit TDataSet(TComponent* owner = nullptr);
    ~TDataSet() override;

    void Open();
    // Cancels a pending edit or insert.
    void Close();
    bool Active() const { return state_ != TDataSetState::dsInactive; }
    void SetActive(bool value);
    TDataSetState State() const { return state_; }

    void First();
    void Last();
    void Next();
    void Prior();
    // Returns the distance actually moved.
    int MoveBy(int distance);
    bool Bof() const { return bof_; }
    bool Eof() const { return eof_; }
    bool IsEmpty() const;
    int RecordCount() const;
    // 1-based position of the current record; 0 with none and while inserting.
    int RecNo() const;

    TBookmark GetBookmark() const;
    // Raises EDatabaseError when the record is gone.
    void GotoBookmark(TBookmark bookmark);
    bool BookmarkValid(TBookmark bookmark) const;

    void Insert();
    void Append();
    // On an empty dataset, inserts.
    void Edit();
    void Post();
    void Cancel();
    // In insert or set-key state this cancels.
    void Delete();
    void Refresh();
    void AppendRecord(const std::vector<Variant>& values);
    // In edit or insert state: asks the data links for their pending values.
    void UpdateRecord();
    // Posts a modified record, cancels an unmodified one, leaves set-key state.
    void CheckBrowseMode();

    bool CanModify() const;
    bool Modified() const { return modified_; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);

    // Set-key state: values written to fields form a key; GotoKey moves to the first record
    // whose fields equal every non-null key value.
    void SetKey();
    bool GotoKey();
    bool Locate(StringView fieldName, const Variant& value);

    TFields& Fields() const { return *fields_; }
    int FieldCount() const { return fields_->Count(); }
    TField* FindField(StringView fieldName) const { return fields_->FindField(fieldName); }
    // Raises EDatabaseError when there is no such field.
    TField& FieldByName(StringView fieldName) const;
    std::unique_ptr<TStream> CreateBlobStream(TField& field, TBlobStreamMode mode);

    // While disabled, data sources hear nothing; enabling again sends one change.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

    using TDataSetNotifyEvent = std::function<void(TDataSet&)>;
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent BeforeRefresh, AfterRefresh, OnNewRecord;
    // Decides what a failed post does: daFail (the default) raises, daAbort gives up quietly,
    // daRetry tries again. The dataset stays in its edit or insert state unless a retry works.
    std::function<void(TDataSet&, const std::exception&, TDataAction&)> OnPostError;

    // The value a field reads in the current state (inline: reading a large result calls it
    // for every value).
    TCellView FieldCell(int index) const {
        if (state_ == TDataSetState::dsBrowse)
            return cursor_ < 0 ? TCellView{} : rows_->Cell(cursor_, index);
        return BufferCell(index);
    }
    // Stores a field's value in the edit or key buffer and tells the links.
    void SetFieldCell(TField& field, TRecordCell cell);
    // A token that lives as long as the current edit or insert; blob streams hold it weakly.
    std::weak_ptr<void> EditToken() const { return editToken_; }

protected:
    // Creates the fields with AddField and loads the rows into Rows().
    virtual void InternalOpen() = 0;
    virtual void InternalClose() {}
    // Writes a posted record: `row` is the stored record being edited, or -1 for an insert.
    // `changed` marks the fields assigned since the edit began. May update `values`.
    virtual void InternalPost(TRecordCells& values, const std::vector<bool>& changed, int row) {}
    virtual void InternalDelete(int row) {}
    // Reloads the rows; returns the row to make current, given the one that was.
    virtual int InternalRefresh(int current) { return current; }
    // Whether the provider accepts changes at all.
    virtual bool ProviderCanModify() const { return true; }

    TField& AddField(String fieldName, TFieldType dataType);
    TRecordStore& Rows() { return *rows_; }
    const TRecordStore& Rows() const { return *rows_; }
    void DataEvent(TDataEvent event, TField* field = nullptr, int distance = 0);
    // Descendants call it first in their destructors, while their part still exists.
    void CloseForDestruction() noexcept;
    // The first row whose values equal every non-null cell of `key`, or -1.
    int FindRow(const TRecordCells& key) const;

private:
    friend class TDataSource;
    void AddDataSource(TDataSource& source);
    void RemoveDataSource(TDataSource& source);

    TCellView BufferCell(int index) const;
    void CheckActive() const;
    void CheckCanModify() const;
    void CheckEditing() const;
    void SetState(TDataSetState state);
    void Fire(const TDataSetNotifyEvent& event);
    void ClearCursor();
    void SetPosition(int row, bool bof, bool eof, int distance);
    void BeginInsert(int position, bool atEnd);
    void StartEditBuffer(TRecordCells cells);
    void EndEditBuffer();
    void PostRecord();
    void StoreRecord();
    void CheckRequiredFields() const;
    void GotoRow(int row);

    std::unique_ptr<TFields> fields_;
    std::unique_ptr<TRecordStore> rows_;
    std::vector<TDataSource*> sources_;
    TDataSetState state_ = TDataSetState::dsInactive;
    int cursor_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    bool modified_ = false;
    bool readOnly_ = false;
    TRecordCells edit_;
    std::vector<bool> changed_;
    int insertAt_ = 0;
    std::shared_ptr<void> editToken_;
    int disableCount_ = 0;
    bool stateChangedWhileDisabled_ = false;
};

}  // namespace kw
