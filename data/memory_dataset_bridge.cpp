#include "data/memory_dataset_bridge.h"

#include "platform/core/stream.h"
#include "platform/data/dataset.h"

namespace kw {

using enum TKwDataType;

namespace {

void CopyFromField(const TField& field, TKwMemoryField& column) {
    if (field.IsNull())
        return column.Clear();
    switch (column.DataType()) {
        case dtyInteger:
            return column.SetAsInteger(field.AsLargeInt());
        case dtyCurrency:
            return column.SetAsCurrency(field.AsCurrency());
        case dtyDouble:
            return column.SetAsDouble(field.AsFloat());
        case dtyDateTime:
            return column.SetAsDateTime(field.AsDateTime());
        case dtyString:
            return column.SetAsString(field.AsString());
        case dtyBinary:
        case dtyMemo: {
            const TBytes bytes = field.AsBytes();
            column.WriteStream().Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
            return;
        }
    }
}

void CopyToField(const TKwMemoryField& column, TField& field) {
    if (column.GetIsNull())
        return field.Clear();
    switch (column.DataType()) {
        case dtyInteger:
            return field.SetAsLargeInt(column.GetAsInteger());
        case dtyCurrency:
            return field.SetAsCurrency(column.GetAsCurrency());
        case dtyDouble:
            return field.SetAsFloat(column.GetAsDouble());
        case dtyDateTime:
            return field.SetAsDateTime(column.GetAsDateTime());
        case dtyString:
            return field.SetAsString(column.GetAsString());
        case dtyBinary:
        case dtyMemo: {
            const TMemoryStream* stream = column.ReadStream();
            return field.SetAsBytes(stream ? stream->Bytes() : TBytes());
        }
    }
}

void CheckSameShape(const TKwMemoryTable& table, const TDataSet& dataSet) {
    if (table.Fields().Count() != dataSet.FieldCount())
        throw EKwMemoryDataError(u"The table and the dataset have different fields");
    for (int i = 0; i < dataSet.FieldCount(); ++i) {
        const TKwMemoryField& column = table.Fields().Field(i);
        if (column.DataObject() ||
            column.DataType() != KwMemoryTypeOfField(dataSet.Fields()[i].DataType()))
            throw EKwMemoryDataError(u"The table and the dataset have different fields");
    }
}

// Ends a dataset's batch of changes however it ends.
class ControlsDisabled {
public:
    explicit ControlsDisabled(TDataSet& dataSet) : dataSet_(dataSet) { dataSet_.DisableControls(); }
    ~ControlsDisabled() { dataSet_.EnableControls(); }

private:
    TDataSet& dataSet_;
};

}  // namespace

TKwDataType KwMemoryTypeOfField(TFieldType fieldType) {
    switch (fieldType) {
        case TFieldType::ftInteger:
            return dtyInteger;
        case TFieldType::ftCurrency:
            return dtyCurrency;
        case TFieldType::ftFloat:
            return dtyDouble;
        case TFieldType::ftString:
            return dtyString;
        case TFieldType::ftDateTime:
            return dtyDateTime;
        case TFieldType::ftBlob:
            return dtyBinary;
        case TFieldType::ftMemo:
            return dtyMemo;
        case TFieldType::ftUnknown:
            break;
    }
    throw EKwMemoryDataError(u"Invalid DataType");
}

void KwLoadMemoryTable(TKwMemoryTable& table, TDataSet& dataSet) {
    table.ClearRows();
    while (table.Fields().Count() > 0)
        table.Fields().Remove(table.Fields().Field(table.Fields().Count() - 1));
    for (int i = 0; i < dataSet.FieldCount(); ++i)
        table.Fields().Add(KwMemoryTypeOfField(dataSet.Fields()[i].DataType()));
    ControlsDisabled batch(dataSet);
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
        table.AppendRow();
        for (int i = 0; i < dataSet.FieldCount(); ++i)
            CopyFromField(dataSet.Fields()[i], table.Fields().Field(i));
    }
}

void KwSaveMemoryTable(TKwMemoryTable& table, TDataSet& dataSet) {
    CheckSameShape(table, dataSet);
    ControlsDisabled batch(dataSet);
    dataSet.First();
    for (int row = 0; row < table.RowCount(); ++row) {
        table.SetRow(row);
        if (dataSet.Eof())
            dataSet.Append();
        else
            dataSet.Edit();
        for (int i = 0; i < dataSet.FieldCount(); ++i)
            CopyToField(table.Fields().Field(i), dataSet.Fields()[i]);
        dataSet.Post();
        dataSet.Next();
    }
    while (dataSet.RecordCount() > table.RowCount()) {
        dataSet.Last();
        dataSet.Delete();
    }
}

}  // namespace kw
