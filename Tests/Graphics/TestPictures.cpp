// Manifest and reference reading of the test pictures.
#include "TestPictures.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Support/FileBytes.h"
#include "Support/ReachablePath.h"

namespace qmtest {

std::string TestPicturePath(const std::string& file) {
  return ReachablePath(std::string(QM_TEST_PICTURES) + "/" + file);
}

std::vector<TestPicture> TestPictures() {
  std::vector<TestPicture> pictures;
  std::ifstream manifest(TestPicturePath("manifest.txt"));
  std::string line;
  while (std::getline(manifest, line)) {
    std::istringstream fields(line);
    TestPicture p;
    if (fields >> p.file >> p.format >> p.width >> p.height >> p.tolerance >> p.dotsPerInch) pictures.push_back(p);
  }
  return pictures;
}

int DifferenceFromReference(const CPicture& picture, const std::string& file) {
  const Bytes reference = ReadFileBytes(TestPicturePath(file + ".rgba"));
  if (picture.IsEmpty() || reference.size() != static_cast<std::size_t>(picture.Width()) * picture.Height() * 4) {
    return -1;
  }
  int worst = 0;
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      const std::uint32_t mine = picture.PixelAt(x, y);
      const unsigned char* theirs = &reference[(static_cast<std::size_t>(y) * picture.Width() + x) * 4];
      const int myAlpha = static_cast<int>(mine >> 24), theirAlpha = theirs[3];
      worst = std::max(worst, std::abs(myAlpha - theirAlpha));
      for (int channel = 0; channel < 3; ++channel) {
        const int myValue = static_cast<int>((mine >> (16 - 8 * channel)) & 0xFF);
        const int difference = std::abs(myValue * myAlpha - theirs[channel] * theirAlpha) / 255;
        worst = std::max(worst, difference);
      }
    }
  }
  return worst;
}

}  // namespace qmtest
