#include "platform/data/data_link.h"

#include <algorithm>

namespace kw {

KW_IMPLEMENT_CLASS(TDataSource, TComponent)

// --- TDataSource ---------------------------------------------------------------------------

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

TDataSource::~TDataSource() {
    Destroying();
    while (!links_.empty())
        links_.back()->SetDataSource(nullptr);
    SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
    if (dataSet_ == dataSet)
        return;
    if (dataSet_ != nullptr)
        dataSet_->RemoveDataSource(*this);
    dataSet_ = dataSet;
    if (dataSet_ != nullptr)
        dataSet_->AddDataSource(*this);
    UpdateState();
}

void TDataSource::SetEnabled(bool value) {
    if (enabled_ == value)
        return;
    enabled_ = value;
    UpdateState();
}

void TDataSource::Edit() {
    if (autoEdit_ && state_ == TDataSetState::dsBrowse)
        dataSet_->Edit();
}

void TDataSource::UpdateState() {
    const TDataSetState state =
        enabled_ && dataSet_ != nullptr ? dataSet_->State() : TDataSetState::dsInactive;
    if (state == state_)
        return;
    state_ = state;
    NotifyLinks(TDataEvent::deUpdateState, nullptr, 0);
    if (OnStateChange && !HasState(csDestroying))
        OnStateChange(*this);
}

void TDataSource::NotifyLinks(TDataEvent event, TField* field, int distance) {
    // Indexed: a link may detach itself while it is being told.
    for (std::size_t i = 0; i < links_.size(); ++i)
        links_[i]->DataEvent(event, field, distance);
}

void TDataSource::DataEvent(TDataEvent event, TField* field, int distance) {
    if (event == TDataEvent::deUpdateState) {
        UpdateState();
        return;
    }
    if (state_ == TDataSetState::dsInactive)
        return;
    NotifyLinks(event, field, distance);
    switch (event) {
        case TDataEvent::deFieldChange:
        case TDataEvent::deRecordChange:
        case TDataEvent::deDataSetChange:
        case TDataEvent::deDataSetScroll:
        case TDataEvent::deLayoutChange:
            if (OnDataChange)
                OnDataChange(*this, event == TDataEvent::deFieldChange ? field : nullptr);
            break;
        case TDataEvent::deUpdateRecord:
            if (OnUpdateData)
                OnUpdateData(*this);
            break;
        default:
            break;
    }
}

void TDataSource::AddDataLink(TDataLink& link) {
    links_.push_back(&link);
}

void TDataSource::RemoveDataLink(TDataLink& link) {
    std::erase(links_, &link);
}

// --- TDataLink -----------------------------------------------------------------------------

TDataLink::~TDataLink() {
    if (dataSource_ != nullptr)
        dataSource_->RemoveDataLink(*this);
}

void TDataLink::SetDataSource(TDataSource* dataSource) {
    if (dataSource_ == dataSource)
        return;
    if (dataSource_ != nullptr)
        dataSource_->RemoveDataLink(*this);
    dataSource_ = dataSource;
    if (dataSource_ != nullptr)
        dataSource_->AddDataLink(*this);
    UpdateState();
}

TDataSet* TDataLink::DataSet() const {
    return dataSource_ != nullptr ? dataSource_->DataSet() : nullptr;
}

void TDataLink::SetReadOnly(bool value) {
    if (readOnly_ == value)
        return;
    readOnly_ = value;
    UpdateState();
}

bool TDataLink::Edit() {
    if (!readOnly_ && dataSource_ != nullptr)
        dataSource_->Edit();
    return editing_;
}

void TDataLink::UpdateRecord() {
    updating_ = true;
    try {
        UpdateData();
    } catch (...) {
        updating_ = false;
        throw;
    }
    updating_ = false;
}

void TDataLink::UpdateState() {
    const TDataSetState state =
        dataSource_ != nullptr ? dataSource_->State() : TDataSetState::dsInactive;
    SetActive(state != TDataSetState::dsInactive);
    SetEditing(state == TDataSetState::dsEdit || state == TDataSetState::dsInsert);
}

void TDataLink::SetActive(bool value) {
    if (active_ == value)
        return;
    active_ = value;
    ActiveChanged();
}

void TDataLink::SetEditing(bool value) {
    if (editing_ == value)
        return;
    editing_ = value;
    EditingChanged();
}

void TDataLink::DataEvent(TDataEvent event, TField* field, int distance) {
    if (event == TDataEvent::deUpdateState) {
        UpdateState();
        return;
    }
    if (!active_)
        return;
    switch (event) {
        case TDataEvent::deFieldChange:
        case TDataEvent::deRecordChange:
            if (!updating_)
                RecordChanged(field);
            break;
        case TDataEvent::deDataSetChange:
            DataSetChanged();
            break;
        case TDataEvent::deDataSetScroll:
            DataSetScrolled(distance);
            break;
        case TDataEvent::deLayoutChange:
            LayoutChanged();
            break;
        case TDataEvent::deUpdateRecord:
            UpdateRecord();
            break;
        case TDataEvent::deCheckBrowseMode:
            CheckBrowseMode();
            break;
        case TDataEvent::deUpdateState:
            break;
    }
}

// --- TFieldDataLink ------------------------------------------------------------------------

void TFieldDataLink::SetFieldName(const String& fieldName) {
    if (fieldName_ == fieldName)
        return;
    fieldName_ = fieldName;
    UpdateField();
}

bool TFieldDataLink::CanModify() const {
    return !ReadOnly() && field_ != nullptr && field_->CanModify();
}

bool TFieldDataLink::Edit() {
    if (CanModify())
        TDataLink::Edit();
    return editing_;
}

void TFieldDataLink::UpdateField() {
    if (Active() && !fieldName_.empty())
        SetField(&DataSet()->FieldByName(fieldName_));
    else
        SetField(nullptr);
}

void TFieldDataLink::SetField(TField* field) {
    if (field_ == field)
        return;
    field_ = field;
    EditingChanged();
    RecordChanged(nullptr);
}

void TFieldDataLink::SetFieldEditing(bool value) {
    if (editing_ == value)
        return;
    editing_ = value;
    modified_ = false;
    if (OnEditingChange)
        OnEditingChange(*this);
}

void TFieldDataLink::ActiveChanged() {
    UpdateField();
    if (OnActiveChange)
        OnActiveChange(*this);
}

void TFieldDataLink::EditingChanged() {
    SetFieldEditing(TDataLink::Editing() && CanModify());
}

void TFieldDataLink::LayoutChanged() {
    UpdateField();
}

void TFieldDataLink::RecordChanged(TField* field) {
    if (field != nullptr && field != field_)
        return;
    if (OnDataChange)
        OnDataChange(*this);
    modified_ = false;
}

void TFieldDataLink::UpdateData() {
    if (!modified_)
        return;
    if (field_ != nullptr && OnUpdateData)
        OnUpdateData(*this);
    modified_ = false;
}

}  // namespace kw
