#pragma once

#include "data/memory_data.h"
#include "platform/data/field.h"

namespace kw {

class TDataSet;

// The column kind that holds a dataset field's values; raises EKwMemoryDataError for fields of
// unknown type.
TKwDataType KwMemoryTypeOfField(TFieldType fieldType);

// Replaces the table's columns and rows with the fields and records of an open dataset, column
// i holding field i. The dataset ends on its last record.
void KwLoadMemoryTable(TKwMemoryTable& table, TDataSet& dataSet);

// Writes the rows back into an open dataset of the same fields: record i takes row i, missing
// records are appended and records beyond the last row are deleted. Blobs and memos travel as
// their bytes, so a load and a save leave a memo's text exactly as it was.
void KwSaveMemoryTable(TKwMemoryTable& table, TDataSet& dataSet);

}  // namespace kw
