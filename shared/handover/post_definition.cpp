#include "shared/handover/post_definition.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/text.h"
#include "shared/handover/record_io.h"

namespace handover {

std::string BlockTemplate::Text() const { return platform::FieldText(text); }
void BlockTemplate::SetText(std::string_view cp932) { platform::SetFieldText(text, cp932); }

std::string PostDefinition::Name() const { return platform::FieldText(name); }
void PostDefinition::SetName(std::string_view cp932) { platform::SetFieldText(name, cp932); }

void ResetPostRecord(PostDefinition& post) {
  const std::int32_t currentPost = post.currentPost;
  const std::int32_t postCount = post.postCount;
  post = PostDefinition{};  // the member initialisers hold the option defaults
  post.currentPost = currentPost;
  post.postCount = postCount;
  for (int i = 0; i < kBlockTemplateCount; ++i) post.blocks[i].SetText(kBlockTemplateDefaults[i]);
  post.SetName(platform::Sjis("標準ポスト"));
}

void SetDefaultPostTable(PostTable& table) {
  for (PostDefinition& post : table) {
    post.currentPost = 0;
    post.postCount = 0;
    ResetPostRecord(post);
  }
  table[0].currentPost = 1;
  table[0].postCount = 2;
}

namespace {

// Brings record 0's header into the range of the records that were read, so
// that no later step indexes past the table or writes records that are not
// there.
void CheckPostHeader(PostDefinition& header, std::size_t recordsRead) {
  std::int32_t count = static_cast<std::int32_t>(recordsRead);
  if (recordsRead == kPostTableSize && header.postCount >= 1 &&
      header.postCount <= static_cast<std::int32_t>(kPostTableSize)) {
    count = header.postCount;
  }
  header.postCount = count;
  if (header.currentPost < 1 || header.currentPost >= count) header.currentPost = count >= 2 ? 1 : 0;
}

void TerminateTexts(PostDefinition& post) {
  for (BlockTemplate& block : post.blocks) platform::TerminateField(block.text);
  platform::TerminateField(post.name);
}

}  // namespace

platform::FileResult ReadPostTable(const std::filesystem::path& path, PostTable& table) {
  std::vector<std::uint8_t> bytes;
  platform::FileResult result = platform::ReadWholeFile(path, bytes);
  if (result.missing()) {
    SetDefaultPostTable(table);
    return result;
  }
  if (!result.ok()) return result;
  if (bytes.empty() || bytes.size() % sizeof(PostDefinition) != 0) {
    result.status = platform::FileStatus::WrongSize;
    result.message = path.string() + ": " + std::to_string(bytes.size()) +
                     " bytes is not a whole number of post records; nothing was taken from it";
    return result;
  }
  const std::size_t recordsRead = std::min(bytes.size() / sizeof(PostDefinition), kPostTableSize);
  for (PostDefinition& post : table) ResetPostRecord(post);
  std::memcpy(table.data(), bytes.data(), recordsRead * sizeof(PostDefinition));
  for (std::size_t i = 0; i < recordsRead; ++i) TerminateTexts(table[i]);
  CheckPostHeader(table[0], recordsRead);
  return result;
}

platform::FileResult WritePostTable(const std::filesystem::path& path, const PostTable& table) {
  const std::int32_t count = table[0].postCount;
  if (count < 1 || count > static_cast<std::int32_t>(kPostTableSize)) {
    return RefusedWrite(path,
                        "the post count " + std::to_string(count) + " is outside 1.." + std::to_string(kPostTableSize));
  }
  return platform::WriteRecords(path, table.data(), static_cast<std::size_t>(count));
}

}  // namespace handover
