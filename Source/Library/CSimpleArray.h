// CSimpleArray<T>: a growable array of whole records held by value in one
// contiguous block. Elements are plain bytes (records written to disk as they
// lie in memory), so they are copied and moved with memcpy/memmove and new
// elements start zeroed. The pending time notifications live in one.
//
// Growth: when a new size exceeds the capacity, the capacity grows by the
// growth step, or with the automatic step (growth step 0) by count / 8, but 4
// while the count is below 32 and 1024 from 8200 elements on; never to less
// than the new size. The storage is never shrunk except by setting size 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

template <class T>
class CSimpleArray {
  static_assert(std::is_trivially_copyable<T>::value, "CSimpleArray moves its elements as bytes");

 public:
  CSimpleArray() : m_count(0), m_capacity(0), m_growBy(0), m_data(nullptr) {}
  // Frees the storage, as SetSize(0).
  virtual ~CSimpleArray() { SetSize(0); }
  CSimpleArray(const CSimpleArray&) = delete;
  CSimpleArray& operator=(const CSimpleArray&) = delete;

  int GetSize() const { return m_count; }
  int GetCapacity() const { return m_capacity; }
  int GetGrowBy() const { return m_growBy; }
  // 0 chooses the automatic step; negative steps are taken as 0.
  void SetGrowBy(int step) { m_growBy = step > 0 ? step : 0; }

  // Valid for 0 <= index < GetSize(); the reference lasts until the next
  // size change or removal.
  T& operator[](int index) { return m_data[index]; }
  const T& operator[](int index) const { return m_data[index]; }
  T* GetData() { return m_data; }
  const T* GetData() const { return m_data; }

  // Sets the element count to size. Elements between the old count and the
  // new one are zeroed. Returns false, leaving the array unchanged, when
  // the size is negative or the storage cannot grow.
  bool SetSize(int size) {
    if (size < 0) return false;
    if (size == 0) {
      std::free(m_data);
      m_data = nullptr;
      m_count = 0;
      m_capacity = 0;
      return true;
    }
    if (size <= m_capacity) {
      if (size > m_count) ZeroRange(m_count, size);
      m_count = size;
      return true;
    }
    int step = m_growBy;
    if (step == 0) {
      step = m_count / 8;
      if (m_count < 32)
        step = 4;
      else if (m_count >= 8200)
        step = 1024;
    }
    // Computed wide so that a huge request fails instead of wrapping.
    std::int64_t capacity = static_cast<std::int64_t>(m_capacity) + step;
    if (capacity < size) capacity = size;
    if (capacity > INT32_MAX || static_cast<std::uint64_t>(capacity) > SIZE_MAX / sizeof(T)) return false;
    T* storage = static_cast<T*>(std::malloc(static_cast<std::size_t>(capacity) * sizeof(T)));
    if (storage == nullptr) return false;
    if (m_count > 0)
      std::memcpy(static_cast<void*>(storage), m_data, static_cast<std::size_t>(m_count) * sizeof(T));
    std::free(m_data);
    m_data = storage;
    m_capacity = static_cast<int>(capacity);
    ZeroRange(m_count, size);
    m_count = size;
    return true;
  }

  // Appends a copy of element; false (nothing appended) when the array
  // cannot grow.
  bool Add(const T& element) {
    // Copy first: element may lie inside this array's storage, which
    // growing frees.
    T copy;
    std::memcpy(static_cast<void*>(&copy), &element, sizeof(T));
    if (!SetSize(m_count + 1)) return false;
    std::memcpy(static_cast<void*>(&m_data[m_count - 1]), &copy, sizeof(T));
    return true;
  }

  // Removes element index, moving the later ones down by one; the storage
  // keeps its capacity. Returns false for an index outside the array.
  bool RemoveAt(int index) {
    if (index < 0 || index >= m_count) return false;
    std::memmove(static_cast<void*>(&m_data[index]), &m_data[index + 1],
                 static_cast<std::size_t>(m_count - index - 1) * sizeof(T));
    --m_count;
    return true;
  }

  void RemoveAll() { SetSize(0); }

 private:
  void ZeroRange(int from, int to) {
    std::memset(static_cast<void*>(&m_data[from]), 0, static_cast<std::size_t>(to - from) * sizeof(T));
  }

  // In this order: count, capacity, growth step, storage.
  int m_count;
  int m_capacity;
  int m_growBy;
  T* m_data;
};
