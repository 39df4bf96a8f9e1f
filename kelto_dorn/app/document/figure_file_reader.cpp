#include "kelto_dorn/app/document/figure_file_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/document/record_checks.h"

namespace dorn {

namespace {

constexpr std::int32_t kCurveTableNumber = 90;
// Records read at once: 64 KiB, checked right after the read.
constexpr int kChunkRecords = 512;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

class FigureFileReader {
 public:
  explicit FigureFileReader(std::FILE* file, FigureFileResult& result) : file_(file), result_(result) {}

  void Run() {
    std::vector<FigureRecord> staging(kChunkRecords);
    for (;;) {
      const int k = DirectCapacity();
      if (k > 0) {
        const int n = ReadInto(&current_->slot(current_->count()), k);
        if (n == 0) break;
        TakeInPlace(n);
      } else {
        const int n = ReadInto(staging.data(), kChunkRecords);
        if (n == 0) break;
        for (int i = 0; i < n; ++i) Append(staging[static_cast<std::size_t>(i)]);
      }
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

  // How many records may be read straight into the current table: within
  // one run of slots (they are contiguous there) and with room left behind
  // them. 0 when the records must go through the staging buffer.
  int DirectCapacity() {
    if (current_ == nullptr) return 0;
    const int count = current_->count();
    const int k = std::min(kChunkRecords, FigureTable::kRunSize - (count & (FigureTable::kRunSize - 1)));
    if (count + k + kFreeSlotsKept > kFigureSlotLimit) return 0;
    if (!MakeRoom(currentTable_, *current_, count + k)) return 0;
    return k;
  }

  // Capacity for slots below `end` and the free slots the store keeps.
  static bool MakeRoom(int table, FigureTable& t, int end) {
    const int need = end + kFreeSlotsKept;
    if (need <= t.capacity()) return true;
    const int steps = (need - t.capacity() + kGrowthStep - 1) / kGrowthStep;
    FigureStoreGrow(table, t.capacity(), t.capacity() + steps * kGrowthStep);
    return need <= t.capacity();
  }

  // Checks the n records just read behind the current table's count.
  void TakeInPlace(int n) {
    FigureTable& t = *current_;
    const int base = t.count();
    int kept = 0;
    for (int j = 0; j < n; ++j) {
      FigureRecord& r = t.slot(base + j);
      const int table = TableOf(r);
      if (table != currentTable_) {
        // Another table (or a bad record) from here on: the rest of the
        // chunk is appended one by one.
        std::vector<FigureRecord> rest(&r, &r + (n - j));
        t.set_count(base + kept);
        result_.loaded += kept;
        for (int c = kept; c < n; ++c) t.slot(base + c).kind = kKindEmpty;
        for (const FigureRecord& x : rest) Append(x);
        return;
      }
      Accept(r, table);
      if (kept != j) t.slot(base + kept) = r;
      ++kept;
    }
    t.set_count(base + kept);
    result_.loaded += kept;
  }

  void Accept(FigureRecord& r, int table) {
    if (table == kTableCurves) {
      r.number = 0;
    } else {
      result_.highestNumber = std::max(result_.highestNumber, static_cast<int>(r.number));
    }
  }

  // One record through its table's count; near a table's limit through the
  // store's own append, which refuses a full table.
  void Append(FigureRecord r) {
    const int table = TableOf(r);
    if (table < 0) {
      ++result_.skipped;
      return;
    }
    if (full_) return;
    Accept(r, table);
    FigureTable& t = *g_figureStore.Table(table);
    current_ = &t;
    currentTable_ = table;
    if (t.count() + 1 + kFreeSlotsKept <= kFigureSlotLimit && MakeRoom(table, t, t.count() + 1)) {
      t.slot(t.count()) = r;
      t.set_count(t.count() + 1);
      ++result_.loaded;
      return;
    }
    const int savedSelector = g_figureTableSelector;
    const int savedLayer = g_curLayer;
    g_figureTableSelector = table;
    g_curLayer = r.layer;
    g_curFigure = r;
    if (AppendFigure(0)) {
      ++result_.loaded;
    } else {
      full_ = true;  // the store said so; the rest of the file is not read in
    }
    g_figureTableSelector = savedSelector;
    g_curLayer = savedLayer;
    if (full_) current_ = nullptr;
  }

  std::FILE* file_;
  FigureFileResult& result_;
  FigureTable* current_ = nullptr;
  int currentTable_ = -1;
  bool full_ = false;
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
