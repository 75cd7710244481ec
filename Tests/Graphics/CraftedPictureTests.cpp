// Pictures made to cost the decoder more than their pixels are worth: a PCX
// whose rows are far longer than its width and a progressive JPEG of 990
// scans are refused; their honest neighbours still decode.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdint>
#include <vector>

#include "Graphics/CPicture.h"
#include "Graphics/PictureFormat.h"
#include "PhotoLikeJpeg.h"

namespace {

// An uncompressed 8-bit PCX of width x height with bytesPerLine per row.
std::vector<std::uint8_t> Pcx(unsigned width, unsigned height, unsigned bytesPerLine) {
  std::vector<std::uint8_t> file(128, 0);
  file[0] = 0x0A;
  file[1] = 5;
  file[3] = 8;
  file[8] = static_cast<std::uint8_t>(width - 1);
  file[9] = static_cast<std::uint8_t>((width - 1) >> 8);
  file[10] = static_cast<std::uint8_t>(height - 1);
  file[11] = static_cast<std::uint8_t>((height - 1) >> 8);
  file[65] = 1;
  file[66] = static_cast<std::uint8_t>(bytesPerLine);
  file[67] = static_cast<std::uint8_t>(bytesPerLine >> 8);
  file.resize(128 + static_cast<std::size_t>(bytesPerLine) * height, 0x7F);
  return file;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST(CraftedPictures, PcxRowsLongerThanTheWidthNeedsAreRefused) {
  CPicture picture;
  for (unsigned padded : {1u, 2u, 4u}) {
    const std::vector<std::uint8_t> file = Pcx(1, 2, padded);
    EXPECT_TRUE(picture.Decode(file.data(), file.size(), kFormatPcx)) << padded;
  }
  for (unsigned tooLong : {5u, 65535u}) {
    const std::vector<std::uint8_t> file = Pcx(1, 2, tooLong);
    EXPECT_FALSE(picture.Decode(file.data(), file.size(), kFormatPcx)) << tooLong;
    EXPECT_TRUE(picture.IsEmpty());
  }
}

TEST(CraftedPictures, AProgressiveJpegOfTooManyScansIsRefusedQuickly) {
  const std::vector<unsigned char> progressive = PhotoLikeJpeg(256, 192, true);
  CPicture picture;
  ASSERT_TRUE(picture.Decode(progressive.data(), progressive.size(), kFormatJpeg));
  EXPECT_EQ(picture.Width(), 256);

  // The last scan (from its SOS marker to EOI) repeated until there are 990:
  // libjpeg only warns about the repeated refinement and decodes each one.
  std::size_t lastScan = 0;
  for (std::size_t i = 2; i + 1 < progressive.size(); ++i) {
    if (progressive[i] == 0xFF && progressive[i + 1] == 0xDA) lastScan = i;
  }
  ASSERT_GT(lastScan, 0u);
  const std::vector<unsigned char> scan(progressive.begin() + static_cast<std::ptrdiff_t>(lastScan),
                                        progressive.end() - 2);
  const auto withScans = [&](int scans) {
    std::vector<unsigned char> crafted(progressive.begin(), progressive.end() - 2);
    for (int i = 10; i < scans; ++i) crafted.insert(crafted.end(), scan.begin(), scan.end());
    crafted.push_back(0xFF);
    crafted.push_back(0xD9);
    return crafted;
  };
  // Sixty scans are still a picture.
  const std::vector<unsigned char> sixty = withScans(60);
  EXPECT_TRUE(picture.Decode(sixty.data(), sixty.size(), kFormatJpeg));
  const std::vector<unsigned char> crafted = withScans(990);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(picture.Decode(crafted.data(), crafted.size(), kFormatJpeg));
  EXPECT_TRUE(picture.IsEmpty());
  const double seconds = SecondsSince(start);
  EXPECT_LT(seconds, 5.0);
  std::printf("a JPEG of 990 scans refused in %.3f s\n", seconds);
}
