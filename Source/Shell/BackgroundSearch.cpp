// The worker posts one message per batch of hits: while the window has not
// taken the hits yet, further hits join the batch without another message.
#include "Shell/BackgroundSearch.h"

#include <thread>

namespace {

std::atomic<int> gCancelledRuns{0};

SearchCodePage MakeAnsiSearchCodePage() {
  std::uint16_t high[128] = {};
  unsigned char lower[256];
  for (int byte = 0; byte < 256; ++byte) {
    char single = static_cast<char>(byte);
    wchar_t wide = 0;
    if (byte >= 0x80 && MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &single, 1, &wide, 1) == 1)
      high[byte - 0x80] = static_cast<std::uint16_t>(wide);
    char folded[1] = {single};
    CharLowerBuffA(folded, 1);
    lower[byte] = static_cast<unsigned char>(folded[0]);
  }
  return SearchCodePage(high, lower);
}

}  // namespace

const SearchCodePage& AnsiSearchCodePage() {
  static const SearchCodePage codePage = MakeAnsiSearchCodePage();
  return codePage;
}

std::shared_ptr<BackgroundSearch> BackgroundSearch::Start(HWND window, unsigned generation,
                                                          const std::string& dataFolder, const std::string& text) {
  AnsiSearchCodePage();  // made here, on the interface thread, before any worker reads it
  auto search = std::make_shared<BackgroundSearch>(window, generation);
  // The thread holds the run alive; nobody joins it.
  std::thread([search, dataFolder, text] { search->Run(dataFolder, text); }).detach();
  return search;
}

void BackgroundSearch::Run(const std::string& dataFolder, const std::string& text) {
  const SearchQuery query(text, AnsiSearchCodePage());
  SearchScope scope;
  scope.dataFolder = dataFolder;
  scope.cancel = &m_cancel;
  const SearchTotals totals = SearchRecords(scope, query, [this](const SearchHit& hit) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pending.push_back(hit);
    if (!m_posted) {
      m_posted = true;
      PostMessageA(m_window, kSearchHitsMessage, m_generation, 0);
    }
  });
  if (totals.cancelled) ++gCancelledRuns;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_totals = totals;
  }
  PostMessageA(m_window, kSearchDoneMessage, m_generation, 0);
}

std::vector<SearchHit> BackgroundSearch::TakeHits() {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::vector<SearchHit> hits;
  hits.swap(m_pending);
  m_posted = false;
  return hits;
}

SearchTotals BackgroundSearch::Totals() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_totals;
}

int BackgroundSearch::CancelledRuns() {
  return gCancelledRuns;
}
