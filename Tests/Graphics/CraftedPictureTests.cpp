// Pictures made to cost the decoder more than their pixels are worth: a PCX
// whose rows are far longer than its width, a progressive JPEG of 990 scans
// and a PNG whose text chunk claims 1.9 GB are refused; their honest
// neighbours still decode.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdint>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QM_WITH_ASAN 1
#endif
#elif defined(__SANITIZE_ADDRESS__)
#define QM_WITH_ASAN 1
#endif
#ifdef QM_WITH_ASAN
#include <atomic>

#include <sanitizer/allocator_interface.h>
#endif

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

#ifdef QM_WITH_ASAN
// The largest single allocation while a test watches (the sanitizer's hooks
// cannot be removed once installed, so they record only when asked).
std::atomic<bool> gWatching{false};
std::atomic<std::size_t> gLargest{0};
void OnAllocate(const volatile void*, std::size_t size) {
  if (gWatching && size > gLargest) gLargest = size;
}
void OnFree(const volatile void*) {}
#endif

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

TEST(CraftedPictures, APngWhoseTextChunkClaimsGigabytesIsRefusedWithoutAskingForThem) {
  // A 37 x 23 grey PNG (IHDR, gAMA, bKGD) followed by a tEXt chunk whose
  // length says 0x74450025 bytes, of which the file holds 47.
  static const std::uint8_t kFile[] = {
      0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
      0x00, 0x25, 0x00, 0x00, 0x00, 0x17, 0x01, 0x00, 0x00, 0x00, 0x00, 0xa4, 0x57, 0xbb, 0x08, 0x00, 0x00, 0x00,
      0x04, 0x67, 0x41, 0x4d, 0x41, 0x00, 0x00, 0xb1, 0x8f, 0x0b, 0xfc, 0x61, 0x05, 0x00, 0x00, 0x00, 0x02, 0x62,
      0x4b, 0x47, 0x44, 0x00, 0x01, 0xdd, 0x8a, 0x13, 0x25, 0x74, 0x45, 0x00, 0x25, 0x74, 0x45, 0x58, 0x74, 0x64,
      0x61, 0x74, 0x65, 0x3a, 0x6d, 0x6f, 0x64, 0x69, 0x66, 0x79, 0x00, 0x32, 0x30, 0x32, 0x36, 0x2d, 0x31, 0x32,
      0x2d, 0x30, 0x37, 0x54, 0x31, 0x38, 0x3a, 0x33, 0x33, 0x3a, 0x31, 0x30, 0x2b, 0x30, 0x30, 0x3a, 0x30, 0x30,
      0x9a, 0x69, 0xae, 0x8b, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
#ifdef QM_WITH_ASAN
  static const bool installed = __sanitizer_install_malloc_and_free_hooks(OnAllocate, OnFree) != 0;
  ASSERT_TRUE(installed);
  gLargest = 0;
  gWatching = true;
#endif
  CPicture picture;
  EXPECT_FALSE(picture.Decode(kFile, sizeof kFile, kFormatPng));
  EXPECT_TRUE(picture.IsEmpty());
#ifdef QM_WITH_ASAN
  gWatching = false;
  EXPECT_LT(gLargest.load(), std::size_t{64} << 20) << "one allocation of " << gLargest.load() << " bytes";
#endif
}
