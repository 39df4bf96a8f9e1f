#pragma once
// CQupDoc: the companion's document. It keeps every move a run draws as a
// CDisplayRecord, in drawing order, so that the view can replay the path
// after the run (repaints, zoom, printing) and the exit commands can save it
// as "$CG_DATA.LST" for a later start in start mode 39 or with the reload
// flag.
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "shared/handover/display_record.h"

namespace qup::shell {

// One move as the engine and the block output leave it, for RecordDrawnSegment.
struct DrawnMove {
  double x = 0.0, y = 0.0, z = 0.0;
  int tool = 0;  // the current tool number (the colour)
  std::array<double, 3> direction{};
  double traceRadius = 0.0;
  int side = 0;          // cutter compensation side: 1 one side, 2 the other, 0 none
  bool noTrace = false;  // the radius is stored as 0
};

class CQupDoc {
 public:
  // Appends a record made of the eight 32-bit words of its 32 bytes.
  void AddDisplayRecord(const std::array<std::uint32_t, 8>& words);
  void AddDisplayRecord(const handover::CDisplayRecord& record);
  void RemoveAllDisplayRecords();
  // The teardown when the program closes: the list and its memory go.
  void FreeDisplayList();

  // Records the move just drawn with kind 1 (cutting line), -1 (rapid) or 0
  // (pen-up move). A cutting move in another tool than the last record's is
  // preceded by a colour-change record at the last record's point.
  void RecordDrawnSegment(int kind, const DrawnMove& move);

  // "$CG_DATA.LST": every complete record is appended (a short tail is left
  // out); a missing file loads nothing. Returns the fault of a damaged file
  // (UTF-8), empty otherwise.
  std::string LoadDisplayList(const std::filesystem::path& path);
  // Writes the list with each colour moved on by colorOffset; returns the
  // fault of a file that could not be written, empty otherwise.
  std::string SaveDisplayList(const std::filesystem::path& path, int colorOffset) const;

  const std::vector<handover::CDisplayRecord>& Records() const { return records_; }
  std::vector<std::array<std::uint32_t, 8>> RecordWords() const;
  bool IsModified() const { return modified_; }
  void SetModifiedFlag(bool modified) { modified_ = modified; }
  int RecordCalls() const { return recordCalls_; }

  // Asked after every 2000 recorded moves so the view repaints during a run.
  std::function<void()> updateAllViews;

 private:
  std::vector<handover::CDisplayRecord> records_;
  bool modified_ = false;
  int recordCalls_ = 0;
};

}  // namespace qup::shell
