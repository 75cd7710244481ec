// Metafiles built byte by byte for the tests: a well-formed EMF or WMF with
// chosen records, so that each test can break exactly one size or count.
#ifndef QUILLMATE_TESTS_GRAPHICS_CRAFTEDMETAFILES_H
#define QUILLMATE_TESTS_GRAPHICS_CRAFTEDMETAFILES_H

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace qmtest {

using MetafileBytes = std::vector<std::uint8_t>;

// Little-endian 16- and 32-bit fields, in order.
MetafileBytes Words16(std::initializer_list<int> values);
MetafileBytes Words32(std::initializer_list<std::int64_t> values);
MetafileBytes Join(std::initializer_list<MetafileBytes> parts);

struct EmfRecord {
  std::uint32_t type;
  MetafileBytes data;  // after type and size
  // The size written into the record; 0 = the true one (8 + data).
  std::uint32_t statedSize = 0;
  bool zeroSize = false;  // write a size of 0 instead
};

// An EMF whose frame is widthMm100 x heightMm100 hundredths of a millimetre,
// with handles object slots, the records given, then EMR_EOF.
MetafileBytes CraftEmf(std::int32_t widthMm100, std::int32_t heightMm100, std::uint16_t handles,
                       const std::vector<EmfRecord>& records);

struct WmfRecord {
  std::uint16_t function;
  MetafileBytes data;  // parameters, an even count of bytes
  bool zeroSize = false;
};

// A placeable WMF of width x height units at 1000 units per inch (or a
// standard one when width is 0), with objects slots, the records, META_EOF.
MetafileBytes CraftWmf(int width, int height, std::uint16_t objects, const std::vector<WmfRecord>& records);

// An EMR_POLYLINE (type 4) with count points, of which only stored are written.
EmfRecord EmfPolyline(std::uint32_t count, std::uint32_t stored);
// A rectangle (EMR_RECTANGLE) from (0, 0) to (right, bottom) in logical units.
EmfRecord EmfRectangle(int right, int bottom);

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_GRAPHICS_CRAFTEDMETAFILES_H
