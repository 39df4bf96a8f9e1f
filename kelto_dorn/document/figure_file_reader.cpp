#include "kelto_dorn/document/figure_file_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/document/record_checks.h"

namespace dorn {

namespace {

constexpr std::int32_t kCurveTableNumber = 90;
// Records read at once: straight into the slots of the table the previous
// record went to, or into one staging buffer that stays in the cache.
constexpr int kChunkRecords = 512;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

class FigureFileReader {
 public:
  explicit FigureFileReader(std::FILE* file, FigureFileResult& result) : file_(file), result_(result) {}

  void Run() {
    staging_.resize(kChunkRecords);
    tables_.resize(kChunkRecords);
    for (;;) {
      // The file holds its figures table by table, so the next records most
      // likely belong where the last one went: they are read straight into
      // that table's slots and only checked there.
      const int n = lastTable_ >= 0 ? ReadInPlace(lastTable_) : ReadStaged();
      if (n == 0) break;
    }
  }

 private:
  // The table a record goes to, or -1 when it is not stored.
  static int TableOf(const FigureRecord& r) {
    if (r.layer < 0 || r.layer >= kLayerCount || !IsFiniteFigure(r)) return -1;
    return r.number == kCurveTableNumber ? kTableCurves : r.layer;
  }

  // Whole records read into `to` (at most n); a torn last record is noted.
  int ReadInto(FigureRecord* to, int n) {
    const std::size_t bytes = std::fread(to, 1, static_cast<std::size_t>(n) * sizeof(FigureRecord), file_);
    if (bytes % sizeof(FigureRecord) != 0) result_.endsInsideRecord = true;
    return static_cast<int>(bytes / sizeof(FigureRecord));
  }

  // Capacity for slots below `end` and the free slots the store keeps.
  static bool MakeRoom(int table, FigureTable& t, int end) {
    const int need = end + kFreeSlotsKept;
    if (need <= t.capacity()) return true;
    const int steps = (need - t.capacity() + kGrowthStep - 1) / kGrowthStep;
    FigureStoreGrow(table, t.capacity(), t.capacity() + steps * kGrowthStep);
    return need <= t.capacity();
  }

  // The record's table (-1: not stored), with the record made ready for it:
  // curve figures lose the file's number 90.
  int Prepare(FigureRecord& r) {
    const int table = TableOf(r);
    if (table < 0) {
      ++result_.skipped;
    } else if (table == kTableCurves) {
      r.number = 0;
    } else {
      result_.highestNumber = std::max(result_.highestNumber, static_cast<int>(r.number));
    }
    return table;
  }

  // n records of one table behind its count, in whole copies within each run
  // of slots; near the table's limit one by one through the store's own
  // append, which refuses a full table.
  void Store(int table, const FigureRecord* records, int n) {
    if (table < 0 || full_) return;
    FigureTable& t = *g_figureStore.Table(table);
    if (t.count() + n + kFreeSlotsKept <= kFigureSlotLimit && MakeRoom(table, t, t.count() + n)) {
      while (n > 0) {
        const int count = t.count();
        const int k = std::min(n, FigureTable::kRunSize - (count & (FigureTable::kRunSize - 1)));
        std::memcpy(static_cast<void*>(&t.slot(count)), records, static_cast<std::size_t>(k) * sizeof(FigureRecord));
        t.set_count(count + k);
        result_.loaded += k;
        records += k;
        n -= k;
      }
      return;
    }
    const int savedSelector = g_figureTableSelector;
    const int savedLayer = g_curLayer;
    g_figureTableSelector = table;
    for (int i = 0; i < n && !full_; ++i) {
      g_curLayer = records[i].layer;
      g_curFigure = records[i];
      if (AppendFigure(0)) {
        ++result_.loaded;
      } else {
        full_ = true;  // the store said so; the rest of the file is not taken in
      }
    }
    g_figureTableSelector = savedSelector;
    g_curLayer = savedLayer;
  }

  // Reads a chunk into the staging buffer and stores its records by table.
  // Returns the records read.
  int ReadStaged() {
    const int n = ReadInto(staging_.data(), kChunkRecords);
    StoreStaged(n, kNotPrepared);
    return n;
  }

  // Stores staged records [0, n) stretch by stretch of one table. When the
  // first has already been through Prepare, its table is `firstTable`.
  void StoreStaged(int n, int firstTable) {
    for (int i = 0; i < n; ++i) {
      tables_[static_cast<std::size_t>(i)] =
          (i == 0 && firstTable != kNotPrepared) ? firstTable : Prepare(staging_[static_cast<std::size_t>(i)]);
    }
    for (int i = 0; i < n;) {
      int j = i + 1;
      while (j < n && tables_[static_cast<std::size_t>(j)] == tables_[static_cast<std::size_t>(i)]) ++j;
      Store(tables_[static_cast<std::size_t>(i)], &staging_[static_cast<std::size_t>(i)], j - i);
      i = j;
    }
    if (n > 0) lastTable_ = tables_[static_cast<std::size_t>(n - 1)];
  }

  // Reads up to a chunk straight behind the count of `table`, within one run
  // of its slots. Records that belong to that table are kept where they
  // landed (slots behind the count are not part of the table, and the loader
  // clears them afterwards); from the first that does not, the rest of the
  // chunk goes through the staging buffer. Returns the records read.
  int ReadInPlace(int table) {
    FigureTable& t = *g_figureStore.Table(table);
    const int count = t.count();
    const int room = std::min(kChunkRecords, FigureTable::kRunSize - (count & (FigureTable::kRunSize - 1)));
    if (full_ || count + room + kFreeSlotsKept > kFigureSlotLimit || !MakeRoom(table, t, count + room)) {
      return ReadStaged();
    }
    FigureRecord* slots = &t.slot(count);
    const int n = ReadInto(slots, room);
    int kept = 0;
    int otherTable = table;
    while (kept < n) {
      otherTable = Prepare(slots[kept]);
      if (otherTable != table) break;
      ++kept;
    }
    t.set_count(count + kept);
    result_.loaded += kept;
    if (kept < n) {
      std::memcpy(static_cast<void*>(staging_.data()), &slots[kept],
                  static_cast<std::size_t>(n - kept) * sizeof(FigureRecord));
      StoreStaged(n - kept, otherTable);
    }
    return n;
  }

  static constexpr int kNotPrepared = -2;  // no table is -1

  std::FILE* file_;
  FigureFileResult& result_;
  bool full_ = false;
  std::vector<FigureRecord> staging_;
  std::vector<int> tables_;
  int lastTable_ = -1;  // the table of the last record read; -1 none or skipped
};

}  // namespace

FigureFileResult ReadFigureFile(const std::filesystem::path& path) {
  FigureFileResult result;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return result;
  result.found = true;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    result.error = path.string() + ": cannot be opened";
    return result;
  }
  // Unbuffered: the records are read straight to where they are kept.
  std::setvbuf(file.get(), nullptr, _IONBF, 0);
  FigureFileReader(file.get(), result).Run();
  if (std::ferror(file.get())) result.error = path.string() + ": read failed";
  g_undoSaved = 0;
  return result;
}

}  // namespace dorn
