#include "Search/BodyFile.h"

char* BodyBuffer::Reserve(std::size_t size) {
  if (size > m_capacity || m_data == nullptr) {
    // Some room to spare, so that a run of slightly larger bodies does not
    // reallocate each time.
    const std::size_t capacity = size + size / 4 + 64;
    m_data.reset(new char[capacity]);
    m_capacity = capacity;
  }
  m_size = 0;
  return m_data.get();
}
