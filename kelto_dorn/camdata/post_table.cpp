// The post table of the main program: see post_table.h.
#include "kelto_dorn/camdata/post_table.h"

#include <algorithm>

#include "platform/paths.h"

namespace dorn {

handover::PostTable g_postTable = [] {
  handover::PostTable table;
  handover::SetDefaultPostTable(table);
  return table;
}();
int g_currentPost = 1;
int g_exchangeValue = -1;

namespace {

std::filesystem::path PostFilePath() { return platform::DataRoot() / handover::kPostFileName; }

}  // namespace

int PostCount() { return std::clamp(g_postTable[0].postCount, 0, static_cast<int>(handover::kPostTableSize)); }

platform::FileResult ReadDornPostTable() {
  const platform::FileResult result = handover::ReadPostTable(PostFilePath(), g_postTable);
  g_currentPost = g_postTable[0].currentPost;
  return result;
}

platform::FileResult WriteDornPostTable() { return handover::WritePostTable(PostFilePath(), g_postTable); }

const handover::PostDefinition& PostForDefinition(int postNumber) {
  const int count = PostCount();
  int n = postNumber;
  if (n <= 0 || n >= count) n = g_postTable[0].currentPost;
  if (n <= 0 || n >= count) n = 0;  // no post at all: the header's default form
  return g_postTable[static_cast<std::size_t>(n)];
}

void ResetPostTableState() {
  handover::SetDefaultPostTable(g_postTable);
  g_currentPost = g_postTable[0].currentPost;
  g_exchangeValue = -1;
}

}  // namespace dorn
