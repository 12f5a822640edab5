#pragma once

#include <functional>
#include <vector>

#include "platform/core/component.h"
#include "platform/data/dataset.h"

namespace kw {

class TDataLink;

// Connects a dataset to the data links of the controls that show it. A disabled data source
// reports the inactive state, so its links are inactive. Freeing it detaches its links.
class TDataSource : public TComponent {
    KW_CLASS(TDataSource)
public:
    explicit TDataSource(TComponent* owner = nullptr);
    ~TDataSource() override;

    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // Whether a link that wants to edit may put a browsing dataset into edit state.
    bool AutoEdit() const { return autoEdit_; }
    void SetAutoEdit(bool value) { autoEdit_ = value; }
    // The dataset's state, or inactive without a dataset or while disabled.
    TDataSetState State() const { return state_; }
    // Edits the dataset when AutoEdit allows and it is browsing.
    void Edit();

    std::function<void(TDataSource&)> OnStateChange;
    // The field for a field change, none for other changes.
    std::function<void(TDataSource&, TField*)> OnDataChange;
    std::function<void(TDataSource&)> OnUpdateData;

    // Called by the dataset.
    void DataEvent(TDataEvent event, TField* field, int distance);

private:
    friend class TDataLink;
    void AddDataLink(TDataLink& link);
    void RemoveDataLink(TDataLink& link);
    void UpdateState();
    void NotifyLinks(TDataEvent event, TField* field, int distance);

    TDataSet* dataSet_ = nullptr;
    bool enabled_ = true;
    bool autoEdit_ = true;
    TDataSetState state_ = TDataSetState::dsInactive;
    std::vector<TDataLink*> links_;
};

// Follows a data source for a control; descendants override the notifications. Links are
// held, not owned, by their data source; a link detaches itself when destroyed.
class TDataLink {
public:
    TDataLink() = default;
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;
    virtual ~TDataLink();

    TDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource* dataSource);
    TDataSet* DataSet() const;
    // The source has an open dataset and is enabled.
    bool Active() const { return active_; }
    // The dataset is in edit or insert state.
    bool Editing() const { return editing_; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    // Asks the data source to edit (see TDataSource::Edit); returns Editing.
    bool Edit();
    // Runs UpdateData; field and record changes are not reported back meanwhile.
    void UpdateRecord();

    // Called by the data source.
    void DataEvent(TDataEvent event, TField* field, int distance);

protected:
    virtual void ActiveChanged() {}
    virtual void CheckBrowseMode() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int distance) { DataSetChanged(); }
    virtual void EditingChanged() {}
    virtual void LayoutChanged() { DataSetChanged(); }
    // A field of the current record changed, or the whole record (no field).
    virtual void RecordChanged(TField* field) {}
    virtual void UpdateData() {}

private:
    void UpdateState();
    void SetActive(bool value);
    void SetEditing(bool value);

    TDataSource* dataSource_ = nullptr;
    bool active_ = false;
    bool editing_ = false;
    bool readOnly_ = false;
    bool updating_ = false;
};

// A data link for one field of the dataset, found by name whenever the link becomes active or
// the fields change. Modified() marks the control's value as changed; UpdateData then hands
// it to OnUpdateData.
class TFieldDataLink : public TDataLink {
public:
    using TNotifyEvent = std::function<void(TFieldDataLink&)>;

    const String& FieldName() const { return fieldName_; }
    void SetFieldName(const String& fieldName);
    TField* Field() const { return field_; }
    // Editing and the field can be modified.
    bool FieldEditing() const { return editing_; }
    bool CanModify() const;
    bool IsModified() const { return modified_; }
    void Modified() { modified_ = true; }
    // Puts the dataset in edit state when the field can be modified; returns FieldEditing.
    bool Edit();
    // Re-reads the value: OnDataChange with modifications dropped.
    void Reset() { RecordChanged(nullptr); }

    TNotifyEvent OnDataChange;
    TNotifyEvent OnEditingChange;
    TNotifyEvent OnUpdateData;
    TNotifyEvent OnActiveChange;

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* field) override;
    void UpdateData() override;

private:
    void UpdateField();
    void SetField(TField* field);
    void SetFieldEditing(bool value);

    String fieldName_;
    TField* field_ = nullptr;
    bool editing_ = false;
    bool modified_ = false;
};

}  // namespace kw
