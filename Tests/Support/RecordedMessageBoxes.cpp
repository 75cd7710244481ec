// The script behind RecordedMessageBoxes; the seam restores whatever script
// was installed before when the object ends.
#include "Support/RecordedMessageBoxes.h"

namespace qmtest {

RecordedMessageBoxes::RecordedMessageBoxes(int answer)
    : answer(answer), m_script([this](void* owner, const char* text, const char* caption, unsigned style) {
        // A copy for whileOpen: a box shown from inside it grows `shown`.
        const ShownBox box{owner, text, caption, style};
        const std::size_t number = shown.size();
        shown.push_back(box);
        if (whileOpen) whileOpen(number, box);
        return this->answer == kDefaultButton ? DefaultMessageBoxAnswer(style) : this->answer;
      }) {}

}  // namespace qmtest
