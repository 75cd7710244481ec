// The record walks of WMF and EMF. Each record is checked as a slice of the
// file: every offset and count read from it is compared with the slice's own
// size before anything it points at is read. Record layouts are those of the
// platform's GDI structures (EMRPOLYLINE, EMRSTRETCHDIBITS, METARECORD ...).
#include "Graphics/MetafileWalker.h"

#include <cmath>
#include <cstring>

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr int kScreenDpi = 96;
// A bitmap inside a record is played by the platform at its stated size.
constexpr std::uint64_t kMaxEmbeddedBitmapPixels = 64u * 1024 * 1024;

// One record (or any byte range) with reads that never leave it: a read
// past its end yields 0 and marks it bad.
class Slice {
 public:
  Slice(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  std::size_t Size() const { return m_size; }
  bool Ok() const { return m_ok; }
  void Fail() { m_ok = false; }
  // True when count items of itemSize bytes from offset lie inside.
  bool Holds(std::uint64_t offset, std::uint64_t count, std::uint64_t itemSize = 1) {
    const bool fits = offset <= m_size && (itemSize == 0 || count <= (m_size - offset) / itemSize);
    if (!fits) m_ok = false;
    return fits;
  }
  std::uint32_t U16(std::size_t offset) {
    if (!Holds(offset, 2)) return 0;
    return static_cast<std::uint32_t>(m_data[offset] | m_data[offset + 1] << 8);
  }
  std::uint32_t U32(std::size_t offset) {
    if (!Holds(offset, 4)) return 0;
    return static_cast<std::uint32_t>(m_data[offset]) | static_cast<std::uint32_t>(m_data[offset + 1]) << 8 |
           static_cast<std::uint32_t>(m_data[offset + 2]) << 16 | static_cast<std::uint32_t>(m_data[offset + 3]) << 24;
  }
  std::int32_t I32(std::size_t offset) { return static_cast<std::int32_t>(U32(offset)); }
  std::int32_t I16(std::size_t offset) { return static_cast<std::int16_t>(U16(offset)); }
  Slice Sub(std::uint64_t offset, std::uint64_t size) {
    if (!Holds(offset, size)) return Slice(m_data, 0).Bad();
    return Slice(m_data + offset, static_cast<std::size_t>(size));
  }

 private:
  Slice Bad() {
    m_ok = false;
    return *this;
  }
  const std::uint8_t* m_data;
  std::size_t m_size;
  bool m_ok = true;
};

// A device-independent bitmap: its header (and palette) in header, its bits
// in bits (for WMF the rest of the record after the header). True when the
// stated size is sane and its palette and pixel rows lie inside.
bool DibFits(Slice header, Slice bits, bool bitsFollowHeader) {
  const std::uint32_t headerSize = header.U32(0);
  std::uint64_t width = 0, height = 0, bitCount = 0, compression = 0, colours = 0, imageSize = 0;
  std::uint64_t entrySize = 4;
  if (headerSize == 12) {
    width = header.U16(4);
    height = header.U16(6);
    bitCount = header.U16(10);
    entrySize = 3;
  } else if (headerSize >= 40 && headerSize <= 124) {
    const std::int32_t w = header.I32(4), h = header.I32(8);
    width = w < 0 ? 0 : static_cast<std::uint64_t>(w);
    height = h < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(h)) : static_cast<std::uint64_t>(h);
    bitCount = header.U16(14);
    compression = header.U32(16);
    imageSize = header.U32(20);
    colours = header.U32(32);
  } else {
    return false;
  }
  if (!header.Ok() || width == 0 || height == 0 || width * height > kMaxEmbeddedBitmapPixels) return false;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    return false;
  }
  if (compression > 3) return false;  // JPEG and PNG inside a metafile: refused
  if (colours == 0 && bitCount <= 8) colours = 1u << bitCount;
  if (colours > 256 && bitCount <= 8) return false;
  std::uint64_t tableBytes = colours * entrySize;
  if (compression == 3 && headerSize == 40) tableBytes += 12;  // the three masks
  const std::uint64_t headerBytes = headerSize + tableBytes;
  if (!header.Holds(0, headerBytes)) return false;
  if (bitsFollowHeader) bits = bits.Sub(headerBytes, bits.Size() - headerBytes);
  const std::uint64_t stride = (width * bitCount + 31) / 32 * 4;
  const std::uint64_t needed = (compression == 1 || compression == 2) ? imageSize : stride * height;
  return bits.Ok() && bits.Holds(0, needed);
}

// ---- EMF --------------------------------------------------------------

struct EmfState {
  std::uint32_t handles = 0;
};

bool ObjectIndexFits(std::uint32_t index, std::uint32_t handles, bool stockAllowed) {
  if (stockAllowed && (index & 0x80000000u)) return true;
  return index > 0 && index < handles;
}

// A bitmap given by four fields (offBmi, cbBmi, offBits, cbBits) at at.
bool EmfBitmapFits(Slice& record, std::size_t at, bool optional) {
  const std::uint32_t offBmi = record.U32(at), cbBmi = record.U32(at + 4), offBits = record.U32(at + 8),
                      cbBits = record.U32(at + 12);
  if (!record.Ok()) return false;
  if (cbBmi == 0 && optional) return true;  // a blit without a source bitmap
  return DibFits(record.Sub(offBmi, cbBmi), record.Sub(offBits, cbBits), false);
}

bool RegionFits(Slice region) {
  // RGNDATAHEADER: dwSize 32, iType, nCount of rectangles at 8.
  const std::uint32_t headerSize = region.U32(0), count = region.U32(8);
  return region.Ok() && headerSize >= 32 && region.Holds(headerSize, count, 16);
}

bool EmfRecordFits(std::uint32_t type, Slice& record, const EmfState& state) {
  const std::uint32_t size = static_cast<std::uint32_t>(record.Size());
  switch (type) {
    case 2: case 3: case 4: case 5: case 6:  // POLYBEZIER .. POLYLINETO
      return record.Holds(28, record.U32(24), 8);
    case 85: case 86: case 87: case 88: case 89:  // the same, 16-bit points
      return record.Holds(28, record.U32(24), 4);
    case 7: case 8: case 90: case 91: {  // POLYPOLYLINE, POLYPOLYGON (and 16-bit)
      const std::uint32_t polygons = record.U32(24), points = record.U32(28);
      if (!record.Holds(32, polygons, 4)) return false;
      std::uint64_t total = 0;
      for (std::uint32_t i = 0; i < polygons; ++i) total += record.U32(32 + 4 * static_cast<std::size_t>(i));
      const std::uint64_t pointSize = type <= 8 ? 8 : 4;
      return total <= points && record.Holds(32 + 4 * static_cast<std::uint64_t>(polygons), points, pointSize);
    }
    case 56: case 92: {  // POLYDRAW (and 16-bit): points, then one type byte each
      const std::uint64_t count = record.U32(24);
      return record.Holds(28, count, (type == 56 ? 8 : 4) + 1);
    }
    case 76: case 77:  // BITBLT, STRETCHBLT
      return EmfBitmapFits(record, 84, true);
    case 78:  // MASKBLT
      return EmfBitmapFits(record, 84, true) && EmfBitmapFits(record, 112, true);
    case 79:  // PLGBLT
      return EmfBitmapFits(record, 96, true) && EmfBitmapFits(record, 124, true);
    case 80: case 81:  // SETDIBITSTODEVICE, STRETCHDIBITS
      return EmfBitmapFits(record, 48, false);
    case 93: case 94:  // CREATEMONOBRUSH, CREATEDIBPATTERNBRUSHPT
      return ObjectIndexFits(record.U32(8), state.handles, false) && EmfBitmapFits(record, 16, false);
    case 95:  // EXTCREATEPEN: an optional bitmap, then a style array
      return ObjectIndexFits(record.U32(8), state.handles, false) && EmfBitmapFits(record, 12, true) &&
             record.Holds(52, record.U32(48), 4);
    case 83: case 84: {  // EXTTEXTOUTA, EXTTEXTOUTW
      const std::uint32_t chars = record.U32(44), offString = record.U32(48), offDx = record.U32(72);
      return record.Holds(offString, chars, type == 83 ? 1 : 2) && (offDx == 0 || record.Holds(offDx, chars, 4));
    }
    case 96: case 97: {  // POLYTEXTOUTA, POLYTEXTOUTW: EMRTEXT items of 40 bytes
      const std::uint32_t strings = record.U32(36);
      if (!record.Holds(40, strings, 40)) return false;
      for (std::uint32_t i = 0; i < strings; ++i) {
        const std::size_t at = 40 + 40 * static_cast<std::size_t>(i);
        const std::uint32_t chars = record.U32(at + 8), offString = record.U32(at + 12), offDx = record.U32(at + 32);
        if (!record.Holds(offString, chars, type == 96 ? 1 : 2) || (offDx != 0 && !record.Holds(offDx, chars, 4))) {
          return false;
        }
      }
      return true;
    }
    case 38: case 39: case 82: case 100: case 101: case 102:  // create pen, brush, font, colour space
      return ObjectIndexFits(record.U32(8), state.handles, false) && record.Ok();
    case 49:  // CREATEPALETTE: LOGPALETTE with its entry count at 14
      return ObjectIndexFits(record.U32(8), state.handles, false) && record.Holds(16, record.U16(14), 4);
    case 50:  // SETPALETTEENTRIES
      return ObjectIndexFits(record.U32(8), state.handles, false) && record.Holds(20, record.U32(16), 4);
    case 37: case 40:  // SELECTOBJECT, DELETEOBJECT
      return ObjectIndexFits(record.U32(8), state.handles, type == 37);
    case 48: case 51:  // SELECTPALETTE, RESIZEPALETTE
      return ObjectIndexFits(record.U32(8), state.handles, type == 48);
    case 70:  // GDICOMMENT
      return record.Holds(12, record.U32(8));
    case 71: {  // EXTSELECTCLIPRGN
      const std::uint32_t bytes = record.U32(8);
      return record.Holds(16, bytes) && (bytes == 0 || RegionFits(record.Sub(16, bytes)));
    }
    case 72: case 75:  // FRAMERGN, FILLRGN
      return ObjectIndexFits(record.U32(28), state.handles, true) &&
             RegionFits(record.Sub(type == 72 ? 40 : 32, record.U32(24)));
    case 73: case 74:  // INVERTRGN, PAINTRGN
      return RegionFits(record.Sub(28, record.U32(24)));
    default:
      return size >= 8;
  }
}

bool WalkEmf(const std::uint8_t* data, std::size_t size, MetafileLayout& layout) {
  Slice file(data, size);
  const std::uint32_t headerSize = file.U32(4);
  if (!file.Ok() || headerSize < 88 || headerSize % 4 != 0 || headerSize > size) return false;
  Slice header = file.Sub(0, headerSize);
  EmfState state;
  state.handles = header.U16(56);
  const std::int64_t left = header.I32(24), top = header.I32(28), right = header.I32(32), bottom = header.I32(36);
  layout.width = (right - left) * kScreenDpi / 2540;
  layout.height = (bottom - top) * kScreenDpi / 2540;
  if (layout.width <= 0 || layout.height <= 0) {
    // No frame: the bounds in device pixels.
    layout.width = static_cast<std::int64_t>(header.I32(16)) - header.I32(8) + 1;
    layout.height = static_cast<std::int64_t>(header.I32(20)) - header.I32(12) + 1;
  }
  const std::uint32_t descriptionChars = header.U32(60), descriptionOffset = header.U32(64);
  if (descriptionChars != 0 && !header.Holds(descriptionOffset, descriptionChars, 2)) return false;
  std::size_t at = headerSize;
  layout.records = 1;
  while (at < size) {
    if (++layout.records > kMaxMetafileRecords) return false;
    const std::uint32_t type = file.U32(at), recordSize = file.U32(at + 4);
    if (!file.Ok() || recordSize < 8 || recordSize % 4 != 0 || recordSize > size - at) return false;
    Slice record = file.Sub(at, recordSize);
    if (type == 1 || !EmfRecordFits(type, record, state) || !record.Ok()) return false;
    at += recordSize;
    if (type == 14) return layout.width > 0 && layout.height > 0;  // EMR_EOF
  }
  return false;  // no end record
}

// ---- WMF --------------------------------------------------------------

bool WmfRecordFits(std::uint32_t function, Slice& record, std::uint32_t objects) {
  switch (function) {
    case 0x0324: case 0x0325:  // POLYGON, POLYLINE
      return record.Holds(8, record.U16(6), 4);
    case 0x0538: {  // POLYPOLYGON
      const std::uint32_t polygons = record.U16(6);
      if (!record.Holds(8, polygons, 2)) return false;
      std::uint64_t points = 0;
      for (std::uint32_t i = 0; i < polygons; ++i) points += record.U16(8 + 2 * static_cast<std::size_t>(i));
      return record.Holds(8 + 2 * static_cast<std::uint64_t>(polygons), points, 4);
    }
    case 0x0521: {  // TEXTOUT: count, string padded to even, y, x
      const std::uint64_t chars = record.U16(6);
      return record.Holds(8, (chars + 1) / 2 * 2 + 4);
    }
    case 0x0A32: {  // EXTTEXTOUT: y, x, count, options, [rectangle], string
      const std::uint32_t chars = record.U16(10), options = record.U16(12);
      return record.Holds((options & 0x0006) ? 22 : 14, chars);
    }
    case 0x00F7:  // CREATEPALETTE: start, count, entries
    case 0x0037:  // SETPALENTRIES
    case 0x0436:  // ANIMATEPALETTE
      return record.Holds(10, record.U16(8), 4);
    case 0x0626:  // ESCAPE: function, byte count, bytes
      return record.Holds(10, record.U16(8));
    case 0x06FF: {  // CREATEREGION: header of 20 bytes after 6, then scans
      const std::uint32_t scans = record.U16(6 + 12);
      std::size_t at = 6 + 22;
      for (std::uint32_t i = 0; i < scans; ++i) {
        const std::uint32_t count = record.U16(at);  // count, top, bottom, count x (left, right), count
        if (!record.Holds(at + 6, count, 4) || !record.Holds(at + 6 + 4 * static_cast<std::size_t>(count), 2)) {
          return false;
        }
        at += 8 + 4 * static_cast<std::size_t>(count);
      }
      return record.Ok();
    }
    case 0x0940: case 0x0B41: case 0x0F43: case 0x0D33: case 0x0142: {
      // DIBBITBLT, DIBSTRETCHBLT, STRETCHDIB, SETDIBTODEV, DIBCREATEPATTERNBRUSH:
      // the bitmap begins after the fixed parameters.
      const std::size_t words = record.Size() / 2;
      if ((function == 0x0940 || function == 0x0B41) && words == (function >> 8) + 3) return true;  // no bitmap
      std::size_t bitmapAt = 0;
      switch (function) {
        case 0x0940: bitmapAt = 22; break;
        case 0x0B41: bitmapAt = 26; break;
        case 0x0F43: bitmapAt = 28; break;
        case 0x0D33: bitmapAt = 24; break;
        default: bitmapAt = 10; break;
      }
      if (!record.Holds(bitmapAt, 0)) return false;
      Slice bitmap = record.Sub(bitmapAt, record.Size() - bitmapAt);
      return DibFits(bitmap, bitmap, true);
    }
    case 0x012D: case 0x01F0: case 0x0234:  // SELECTOBJECT, DELETEOBJECT, SELECTPALETTE
      return record.U16(6) < objects;
    case 0x012A: case 0x0128: case 0x0228:  // INVERTREGION, PAINTREGION, FILLREGION (region, [brush])
      return record.U16(6) < objects && (function != 0x0228 || record.U16(8) < objects);
    case 0x0429:  // FRAMEREGION: region, brush
      return record.U16(6) < objects && record.U16(8) < objects;
    default:
      return true;
  }
}

bool WalkWmf(const std::uint8_t* data, std::size_t size, MetafileLayout& layout) {
  Slice file(data, size);
  std::size_t start = 0;
  if (file.U32(0) == kPlaceableKey) {
    const std::int64_t left = file.I16(6), top = file.I16(8), right = file.I16(10), bottom = file.I16(12);
    const std::uint32_t unitsPerInch = file.U16(14);
    if (!file.Ok() || unitsPerInch == 0) return false;
    layout.width = (right - left) * kScreenDpi / unitsPerInch;
    layout.height = (bottom - top) * kScreenDpi / unitsPerInch;
    if (layout.width < 0) layout.width = -layout.width;
    if (layout.height < 0) layout.height = -layout.height;
    if (layout.width == 0 || layout.height == 0) return false;
    start = 22;
  }
  layout.wmfOffset = start;
  const std::uint32_t type = file.U16(start), headerWords = file.U16(start + 2), objects = file.U16(start + 10);
  if (!file.Ok() || (type != 1 && type != 2) || headerWords != 9) return false;
  std::size_t at = start + 18;
  while (at < size) {
    if (++layout.records > kMaxMetafileRecords) return false;
    const std::uint64_t recordBytes = static_cast<std::uint64_t>(file.U32(at)) * 2;
    const std::uint32_t function = file.U16(at + 4);
    if (!file.Ok() || recordBytes < 6 || recordBytes > size - at) return false;
    if (function == 0) return true;  // META_EOF
    Slice record = file.Sub(at, recordBytes);
    if (!WmfRecordFits(function, record, objects) || !record.Ok()) return false;
    at += static_cast<std::size_t>(recordBytes);
  }
  return false;  // no end record
}

}  // namespace

bool WalkMetafile(const std::uint8_t* data, std::size_t size, MetafileLayout& layout) {
  layout = MetafileLayout();
  if (!data || size < 18 || size > 0x7FFFFFFF) return false;
  if (size >= 44 && data[0] == 1 && data[1] == 0 && data[2] == 0 && data[3] == 0 &&
      std::memcmp(data + 40, " EMF", 4) == 0) {
    layout.enhanced = true;
    return WalkEmf(data, size, layout);
  }
  return WalkWmf(data, size, layout);
}

void FitMetafileSize(std::int64_t& width, std::int64_t& height, std::uint64_t pixelBudget, double& scale) {
  scale = 1;
  if (width <= 0 || height <= 0) return;
  const double area = static_cast<double>(width) * static_cast<double>(height);
  if (area <= static_cast<double>(pixelBudget)) return;
  scale = std::sqrt(static_cast<double>(pixelBudget) / area);
  // Rounding down twice keeps the product within the budget.
  width = static_cast<std::int64_t>(std::floor(static_cast<double>(width) * scale));
  height = static_cast<std::int64_t>(std::floor(static_cast<double>(height) * scale));
  if (width < 1) width = 1;
  if (height < 1) height = 1;
}
