#include "kelto_qup/shell/qup_doc.h"

#include <cstring>

namespace qup::shell {

namespace {

constexpr int kUpdateEvery = 2000;
constexpr std::uint16_t kColourBits = handover::CDisplayRecord::kColorMask;

handover::CDisplayRecord MakeRecord(int kind, const DrawnMove& m, int tool) {
  handover::CDisplayRecord r;
  r.kind = static_cast<std::int16_t>(kind);
  r.colorWord = static_cast<std::uint16_t>(tool & kColourBits);
  if (m.side == 1) r.colorWord |= handover::CDisplayRecord::kSideOne;
  if (m.side == 2) r.colorWord |= handover::CDisplayRecord::kSideOther;
  r.x = static_cast<float>(m.x);
  r.y = static_cast<float>(m.y);
  r.z = static_cast<float>(m.z);
  for (int i = 0; i < 3; ++i) r.dir[i] = static_cast<float>(m.direction[static_cast<std::size_t>(i)]);
  r.radius = m.noTrace ? 0.0f : static_cast<float>(m.traceRadius);
  return r;
}

}  // namespace

void CQupDoc::AddDisplayRecord(const std::array<std::uint32_t, 8>& words) {
  handover::CDisplayRecord r;
  static_assert(sizeof r == sizeof words);
  std::memcpy(static_cast<void*>(&r), words.data(), sizeof r);
  AddDisplayRecord(r);
}

void CQupDoc::AddDisplayRecord(const handover::CDisplayRecord& record) {
  records_.push_back(record);
  modified_ = true;
}

void CQupDoc::RemoveAllDisplayRecords() { records_.clear(); }

void CQupDoc::FreeDisplayList() {
  records_.clear();
  records_.shrink_to_fit();
  modified_ = false;
}

void CQupDoc::RecordDrawnSegment(int kind, const DrawnMove& move) {
  ++recordCalls_;
  const int tool = move.tool & kColourBits;
  if (kind >= 1 && !records_.empty() && (records_.back().colorWord & kColourBits) != tool) {
    DrawnMove change = move;
    change.x = records_.back().x;
    change.y = records_.back().y;
    change.z = records_.back().z;
    AddDisplayRecord(MakeRecord(0, change, tool));
  }
  AddDisplayRecord(MakeRecord(kind, move, tool));
  if (recordCalls_ % kUpdateEvery == 0 && updateAllViews) updateAllViews();
}

std::string CQupDoc::LoadDisplayList(const std::filesystem::path& path) {
  std::vector<handover::CDisplayRecord> read;
  const platform::FileResult r = handover::ReadDisplayList(path, read);
  if (r.missing()) return {};
  if (!r.ok()) return r.message;
  records_.reserve(records_.size() + read.size());
  for (const auto& rec : read) AddDisplayRecord(rec);
  return {};
}

std::string CQupDoc::SaveDisplayList(const std::filesystem::path& path, int colorOffset) const {
  const platform::FileResult r = handover::WriteDisplayList(path, records_, colorOffset);
  return r.ok() ? std::string() : r.message;
}

std::vector<std::array<std::uint32_t, 8>> CQupDoc::RecordWords() const {
  std::vector<std::array<std::uint32_t, 8>> words(records_.size());
  if (!records_.empty()) std::memcpy(static_cast<void*>(words.data()), records_.data(), records_.size() * 32);
  return words;
}

}  // namespace qup::shell
