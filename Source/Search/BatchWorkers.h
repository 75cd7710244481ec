// The items of a batch shared between the calling thread and helper threads
// kept for the life of the object: each takes the next item not yet taken
// until none is left, so a slow item holds up only its own thread. Run
// returns when every item is done; what the items produce is for the caller
// to put in order (per item, not per thread).
#ifndef QUILLMATE_SEARCH_BATCHWORKERS_H
#define QUILLMATE_SEARCH_BATCHWORKERS_H

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class BatchWorkers {
 public:
  // work(item, worker): worker 0 is the calling thread, 1..helpers the
  // helpers. Helpers are started on the first Run that has work for them.
  using Work = std::function<void(std::size_t item, int worker)>;

  explicit BatchWorkers(int helpers) : m_helperCount(helpers) {}
  ~BatchWorkers();
  BatchWorkers(const BatchWorkers&) = delete;
  BatchWorkers& operator=(const BatchWorkers&) = delete;

  int Workers() const { return m_helperCount + 1; }
  // An exception from an item is thrown here once every item has ended.
  void Run(std::size_t count, const Work& work);

 private:
  // One per Run: a helper that wakes late finds it all taken and leaves it,
  // never touching the next batch's items.
  struct Batch {
    const Work* work = nullptr;
    std::size_t count = 0;
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> ended{0};
    std::exception_ptr failure;  // the first, under m_mutex
  };

  void HelperMain(int worker);
  void TakeItems(Batch& batch, int worker);

  const int m_helperCount;
  std::vector<std::thread> m_helpers;
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::condition_variable m_ended;
  std::shared_ptr<Batch> m_batch;  // the latest, for helpers that wake
  unsigned m_generation = 0;       // one more for each Run
  bool m_stopping = false;
};

// Helpers worth having here: one less than the processors, at least none,
// at most limit.
int HelperThreadsFor(int limit);

#endif  // QUILLMATE_SEARCH_BATCHWORKERS_H
