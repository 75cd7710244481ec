// Message boxes recorded instead of shown while the object lives: each box is
// appended to `shown` and answered with `answer` (or its default button), so
// tests read what the user would have seen and choose what the user clicks.
#ifndef QUILLMATE_TESTS_SUPPORT_RECORDEDMESSAGEBOXES_H
#define QUILLMATE_TESTS_SUPPORT_RECORDEDMESSAGEBOXES_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "Records/MessageBoxSeam.h"

namespace qmtest {

struct ShownBox {
  void* owner;
  std::string text;
  std::string caption;
  unsigned style;
};

class RecordedMessageBoxes {
 public:
  // An answer that presses each box's default button, as Enter would.
  static constexpr int kDefaultButton = 0;

  explicit RecordedMessageBoxes(int answer = kIdOk);
  RecordedMessageBoxes(const RecordedMessageBoxes&) = delete;
  RecordedMessageBoxes& operator=(const RecordedMessageBoxes&) = delete;

  std::vector<ShownBox> shown;
  int answer;
  // Runs inside each box before it is answered (the box's own loop would
  // dispatch messages then); boxes are numbered from 0.
  std::function<void(std::size_t boxNumber, const ShownBox& box)> whileOpen;

 private:
  ScopedMessageBoxScript m_script;
};

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_RECORDEDMESSAGEBOXES_H
