#pragma once
// Editing of tool records as the tool database editor does it, without the
// window: one typed field into a record (with the coupled radius and tip
// rules), the texts the editor's fields show, deleting, sorting and rescaling
// the records of a tool folder.
#include <string>
#include <string_view>

#include "kelto_dorn/tooldb/tool_record.h"

namespace dorn {

class DocToolTable;

// The editor's field numbers in tab order: 20 the SEC name, then 1..17.
namespace tool_field {
inline constexpr int kSecName = 20;
inline constexpr int kDiameter = 1, kCornerRadius = 2, kFlatRadius = 3, kTipAngle = 4, kTipLength = 5;
inline constexpr int kSpindleSpeed = 6, kFeed = 7, kFixedCycle = 8, kQValue = 9, kPValue = 10, kMCode = 11;
inline constexpr int kFluteLength = 12, kG84Twice = 13, kTNumber = 14, kHCode = 15, kDCode = 16, kCoolant = 17;
inline constexpr int kLast = kCoolant;
}  // namespace tool_field

// A typed number as the databases take it: ParseNumber, made positive, a
// value above 99999.999 becoming 0 (an empty text is never passed here).
double ParseDatabaseNumber(std::string_view text);

// Stores the typed text of a field into the record and applies the coupled
// rules of that field (see ApplyToolFieldRules). An empty text stores
// nothing; the SEC name takes the text after leading blanks up to the first
// blank, at most 12 bytes. Returns false for an empty text or an unknown field.
bool StoreToolField(ToolRecord& record, int field, std::string_view text);

// The rules the editor keeps between the geometry fields, applied after one
// of them changed: corner and flat radius fill the diameter (a corner radius
// above half the diameter becomes half the diameter and the flat radius 0, and
// the other way round); a tip angle of 1 degree or more clears both radii and
// gives the tip length of a point of that angle, rounded to 0.001, a smaller
// angle clears angle and length; a tip length of 0.001 or more clears both
// radii, a smaller one clears angle and length.
void ApplyToolFieldRules(ToolRecord& record, int field);

// The text a field shows (CP932), as the editor writes it back.
std::string ToolFieldText(const ToolRecord& record, int field);

// Removes record `index` of 0..count-1: the records after it (the slot after
// the last too) move one place down. Returns the new count.
int DeleteToolRecord(DocToolTable& table, int count, int index);

// Sorts records 0..count-1 by SEC name (byte order), then by diameter; equal
// records keep their order. Swaps go through the scratch slot count + 2.
void SortToolRecords(DocToolTable& table, int count);

// Rescales the feeds and spindle speeds of records 0..count-1, each rounded to
// whole units the way the editor always did (to 0.001 of a thousand).
void ConvertToolData(DocToolTable& table, int count, double feedFactor, double spindleFactor);

}  // namespace dorn
