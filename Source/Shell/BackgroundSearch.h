// BackgroundSearch: one run of the record search on a worker thread of its
// own, handing its hits to a window by message. This is the program's one
// departure from its single interface thread: the worker only reads files
// (the stores read-only through the engine, the bodies), touches no window
// and no state of the program, and is never waited for. A run is cancelled
// by a flag the search checks between records; the window tells runs apart
// by a generation number, so hits of a run it gave up are never shown.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Search/RecordSearch.h"

// Posted to the window: wParam the run's generation. kSearchHitsMessage says
// hits are waiting (TakeHits); kSearchDoneMessage that the run has ended.
constexpr UINT kSearchHitsMessage = WM_APP + 41;
constexpr UINT kSearchDoneMessage = WM_APP + 42;

class BackgroundSearch {
 public:
  // Starts the search of text over the data folder; messages go to window.
  static std::shared_ptr<BackgroundSearch> Start(HWND window, unsigned generation, const std::string& dataFolder,
                                                 const std::string& text);

  // Asks the worker to stop at the next record; returns at once.
  void Cancel() { m_cancel = true; }
  unsigned Generation() const { return m_generation; }
  // The hits found since the last call.
  std::vector<SearchHit> TakeHits();
  // Valid after kSearchDoneMessage.
  SearchTotals Totals();

  // How many runs ended early because they were cancelled (for tests).
  static int CancelledRuns();

  BackgroundSearch(HWND window, unsigned generation) : m_window(window), m_generation(generation) {}

 private:
  void Run(const std::string& dataFolder, const std::string& text);

  HWND m_window;
  unsigned m_generation;
  std::atomic<bool> m_cancel{false};
  std::mutex m_mutex;
  std::vector<SearchHit> m_pending;
  bool m_posted = false;
  SearchTotals m_totals;
};

// The user's ANSI code page as the search reads it: each byte's Unicode
// character and its lower case, both from the platform.
const SearchCodePage& AnsiSearchCodePage();
