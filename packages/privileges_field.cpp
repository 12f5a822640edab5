#include "framework/errors.h"
#include "packages/privileges_package.h"
#include "platform/data/blob_stream.h"
#include "platform/data/data_link.h"
#include "platform/data/field.h"
#include "util/kw_types.h"

namespace kw {

namespace {

constexpr int kFieldNotBinary = 1;

TKwDataType DataTypeOf(const TField& field) {
    switch (field.DataType()) {
        case TFieldType::ftInteger:
            return TKwDataType::dtyInteger;
        case TFieldType::ftCurrency:
            return TKwDataType::dtyCurrency;
        case TFieldType::ftFloat:
            return TKwDataType::dtyDouble;
        case TFieldType::ftDateTime:
            return TKwDataType::dtyDateTime;
        case TFieldType::ftBlob:
            return TKwDataType::dtyBinary;
        case TFieldType::ftMemo:
            return TKwDataType::dtyMemo;
        case TFieldType::ftString:
        case TFieldType::ftUnknown:
            break;
    }
    return TKwDataType::dtyString;
}

}  // namespace

TField* TKwPkgPrivileges::Field() const {
    return dataLink_ ? dataLink_->Field() : nullptr;
}

void TKwPkgPrivileges::LoadRightsFromField(TField* field, bool visibles) {
    Batch(true, [&] {
        bool loaded = false;
        if (field != nullptr) {
            TBlobStream blob(*field, TBlobStreamMode::bmRead);
            if (blob.Size() > 0) {
                if (visibles) {
                    LoadVisiblesFromStream(blob);
                } else {
                    LoadFromStream(blob);
                }
                loaded = true;
            }
        }
        if (!loaded) {
            if (visibles) {
                ClearVisibles();
            } else {
                ClearAccess();
            }
        }
        PrivilegesChanged(nullptr, TKwOperation::opeRebuild);
    });
}

void TKwPkgPrivileges::SaveRightsToField(TField* field, bool visibles) {
    if (field == nullptr)
        return;
    TDataSet& dataSet = field->DataSet();
    if (dataSet.State() != TDataSetState::dsEdit && dataSet.State() != TDataSetState::dsInsert)
        dataSet.Edit();
    TBlobStream blob(*field, TBlobStreamMode::bmWrite);
    if (visibles) {
        SaveVisiblesToStream(blob);
    } else {
        SaveToStream(blob);
    }
    blob.Commit();
}

void TKwPkgPrivileges::LoadFromField(TField* field) {
    LoadRightsFromField(field, false);
}

void TKwPkgPrivileges::SaveToField(TField* field) {
    SaveRightsToField(field, false);
}

void TKwPkgPrivileges::LoadVisiblesFromField(TField* field) {
    LoadRightsFromField(field, true);
}

void TKwPkgPrivileges::SaveVisiblesToField(TField* field) {
    SaveRightsToField(field, true);
}

void TKwPkgPrivileges::LoadInfoFromField() {
    LoadRightsFromField(Field(), infoType_ == pitVisibles);
}

void TKwPkgPrivileges::SaveInfoToField() {
    SaveRightsToField(Field(), infoType_ == pitVisibles);
}

void TKwPkgPrivileges::ClearInfo() {
    if (infoType_ == pitVisibles) {
        ClearVisibles();
    } else {
        ClearAccess();
    }
}

void TKwPkgPrivileges::DataChange() {
    struct Flag {
        bool& value;
        explicit Flag(bool& v) : value(v) { value = true; }
        ~Flag() { value = false; }
    } flag(fieldChange_);
    TField* field = Field();
    if (field != nullptr && DataTypeOf(*field) != TKwDataType::dtyBinary)
        KwExceptPkg(SourceName(), u"System", kFieldNotBinary);
    if (field != nullptr) {
        LoadInfoFromField();
    } else {
        ClearInfo();
    }
}

}  // namespace kw
