#pragma once
// The engine's working copy of the attribute table: every field and row of the
// input, a row number that links each row to its shape, and a field for
// normalised values. The user's table is never written.

#include "input/dbf_table.h"

#include <string>
#include <vector>

namespace tessaly {

inline constexpr const char* kRowNumberField = "ZID_SHX";
inline constexpr const char* kRatioField = "DBF_GFX";

// Copies inputTable into workTable (replacing it). Each row's ZID_SHX is its
// position in the input table, 1 for the first row, so that deleted rows (copied
// with their mark) never shift a later row off its shape. The two added fields
// are the last two of the table, whatever names the input already uses.
void CreateWorkingTable(const std::string& inputTable, const std::string& workTable);

// The position of the ratio field, the last; the row number is just before it.
int RatioFieldIndex(const DbfTable& workTable);

// DBF_GFX := field / normaliser for every row, 0 where the normaliser is 0, blank
// where either value is empty; the ratio is stored in full, as the shortest text
// that reads back exactly.
void Normalize(const std::string& workTable, const std::string& field, const std::string& normaliser);

}  // namespace tessaly
