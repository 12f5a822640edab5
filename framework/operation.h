#pragma once

namespace kw {

// The kind of change reported by events about one item of a collection.
enum class TKwOperation { opeInsert, opeModify, opeRemove, opeRebuild, opeRebuildSimple };

}  // namespace kw
