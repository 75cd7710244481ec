#include "Search/BatchWorkers.h"

BatchWorkers::~BatchWorkers() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
  }
  m_wake.notify_all();
  for (std::thread& helper : m_helpers) helper.join();
}

void BatchWorkers::Run(std::size_t count, const Work& work) {
  if (count == 0) return;
  if (count == 1 || m_helperCount == 0) {
    for (std::size_t item = 0; item < count; ++item) work(item, 0);
    return;
  }
  const auto batch = std::make_shared<Batch>();
  batch->work = &work;
  batch->count = count;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_batch = batch;
    ++m_generation;
  }
  m_wake.notify_all();
  // Started on the first batch, so that a search with nothing to share
  // starts none; a helper that cannot be started leaves its share to us.
  while (static_cast<int>(m_helpers.size()) < m_helperCount) {
    const int worker = static_cast<int>(m_helpers.size()) + 1;
    try {
      m_helpers.emplace_back([this, worker] { HelperMain(worker); });
    } catch (...) {
      break;
    }
  }
  TakeItems(*batch, 0);
  std::unique_lock<std::mutex> lock(m_mutex);
  m_ended.wait(lock, [&] { return batch->ended.load() == count; });
  if (batch->failure) std::rethrow_exception(batch->failure);
}

void BatchWorkers::TakeItems(Batch& batch, int worker) {
  for (;;) {
    const std::size_t item = batch.next.fetch_add(1);
    if (item >= batch.count) return;
    try {
      (*batch.work)(item, worker);
    } catch (...) {
      std::lock_guard<std::mutex> lock(m_mutex);
      if (!batch.failure) batch.failure = std::current_exception();
    }
    if (batch.ended.fetch_add(1) + 1 == batch.count) {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_ended.notify_all();
    }
  }
}

void BatchWorkers::HelperMain(int worker) {
  unsigned seen = 0;  // a helper started during a Run joins that batch
  for (;;) {
    std::shared_ptr<Batch> batch;
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_wake.wait(lock, [&] { return m_stopping || m_generation != seen; });
      if (m_stopping) return;
      seen = m_generation;
      batch = m_batch;
    }
    TakeItems(*batch, worker);
  }
}

int HelperThreadsFor(int limit) {
  const int processors = static_cast<int>(std::thread::hardware_concurrency());
  const int helpers = processors > 1 ? processors - 1 : 0;
  return helpers < limit ? helpers : limit;
}
