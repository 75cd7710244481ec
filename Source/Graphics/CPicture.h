// CPicture: the one picture object of the photo album. It loads a file of a
// given format code into pixels, reports its size and resolution, draws
// itself stretched into a rectangle of a device context, and can take a
// background colour onto which its transparency is flattened (for printing).
// Every load treats the file as hostile: whatever fails or is refused leaves
// the picture empty. The decoding core is portable; only Draw and the
// metafile formats need Windows.
#ifndef QUILLMATE_GRAPHICS_CPICTURE_H
#define QUILLMATE_GRAPHICS_CPICTURE_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "Graphics/PixelBuffer.h"

#ifdef _WIN32
#include <windows.h>
#endif

// Files beyond this size are refused before they are read.
constexpr std::uint64_t kMaxPictureFileBytes = 256u * 1024 * 1024;

class CPicture {
 public:
  CPicture() = default;
  CPicture(const CPicture&) = default;
  CPicture& operator=(const CPicture&) = default;
  CPicture(CPicture&&) = default;
  CPicture& operator=(CPicture&&) = default;

  // Empties the picture, then reads the file at path (an ANSI path) as the
  // format code says (PictureFormat.h). False, with the picture empty, when
  // the file cannot be read, the code is unknown, or the decoder refuses.
  // cancel (when given) may be set from another thread while this runs:
  // a decoder that sees it stops, and the result is false.
  bool Load(const std::string& path, int format, const std::atomic<bool>* cancel = nullptr);
  // The same for a file already in memory; pixelBudget lowers the limit on
  // width x height (tests and fuzzers use it to stay small).
  bool Decode(const std::uint8_t* data, std::size_t size, int format,
              std::uint64_t pixelBudget = kPixelBudget);

  bool IsEmpty() const { return m_pixels.IsEmpty(); }
  void Empty();

  // Pixels; 0 when empty.
  int Width() const { return static_cast<int>(m_pixels.Width()); }
  int Height() const { return static_cast<int>(m_pixels.Height()); }
  // Dots per inch as the file stores them, rounded, never below 1;
  // kDefaultDotsPerInch (96) when the file stores none.
  int XResolution() const { return Resolution(m_pixels.xDotsPerInch); }
  int YResolution() const { return Resolution(m_pixels.yDotsPerInch); }

  // Colour as the platform writes it, 0x00BBGGRR; white until set.
  void SetBackground(std::uint32_t colorRef);
  std::uint32_t Background() const { return m_background; }
  // Blends every pixel onto the background colour; the picture is opaque
  // afterwards.
  void FlattenTransparency();
  // Known since the picture was decoded (or flattened): never a scan.
  bool HasTransparency() const { return m_transparent; }

  // Pixels blended onto a background so far in this process, by
  // FlattenTransparency and by Draw: a measure for tests and benchmarks.
  static std::uint64_t FlattenedPixels();

  // The pixel at (x, y) as 0xAARRGGBB; 0 outside the picture.
  std::uint32_t PixelAt(int x, int y) const;
  const PixelBuffer& Pixels() const { return m_pixels; }

#ifdef _WIN32
  // Stretches the whole picture into target (a smoothing stretch when it is
  // drawn smaller than it is). Transparent parts show the background colour:
  // the first draw after a load or a change of background flattens a copy
  // once and keeps it for the draws after. False when the picture is empty,
  // the target has no area, memory for that copy runs out, or the platform
  // refuses. Never throws (it is called while painting).
  bool Draw(HDC dc, const RECT& target) const noexcept;
#endif

 private:
  static int Resolution(double dotsPerInch);
  static void Flatten(PixelBuffer& pixels, std::uint32_t background);
  // The opaque copy that Draw shows, made on the first draw that needs it.
  const PixelBuffer* Flattened() const noexcept;

  PixelBuffer m_pixels;
  std::uint32_t m_background = 0x00FFFFFF;
  bool m_transparent = false;
  mutable PixelBuffer m_flattened;
};

#endif  // QUILLMATE_GRAPHICS_CPICTURE_H
