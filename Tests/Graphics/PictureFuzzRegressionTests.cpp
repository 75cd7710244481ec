// Every input that once made a picture decoder fail under the fuzzer, run
// through every decoder again, natively and under Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "PictureFuzzTarget.h"
#include "Graphics/PictureFormat.h"
#include "Support/CorpusInputs.h"

namespace {

TEST(GraphicsFuzzRegression, EveryFormerFindingIsDecodedSafely) {
  for (const auto& input : qmtest::CorpusInputs(QM_PICTURE_FUZZ_REGRESSIONS)) {
    SCOPED_TRACE(input.string());
    const std::vector<std::uint8_t> bytes = qmtest::InputBytes(input);
    for (int format = kFormatBmp; format <= kFormatWbmp; ++format) {
      EXPECT_EQ(QmFuzzPicture(format, bytes.data(), bytes.size()), 0);
    }
  }
}

}  // namespace
