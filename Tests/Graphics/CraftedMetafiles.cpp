// The metafile builder of the tests.
#include "CraftedMetafiles.h"

namespace qmtest {

MetafileBytes Words16(std::initializer_list<int> values) {
  MetafileBytes out;
  for (int value : values) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
  }
  return out;
}

MetafileBytes Words32(std::initializer_list<std::int64_t> values) {
  MetafileBytes out;
  for (std::int64_t value : values) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
  }
  return out;
}

MetafileBytes Join(std::initializer_list<MetafileBytes> parts) {
  MetafileBytes out;
  for (const MetafileBytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

MetafileBytes CraftEmf(std::int32_t widthMm100, std::int32_t heightMm100, std::uint16_t handles,
                       const std::vector<EmfRecord>& records) {
  MetafileBytes body;
  for (const EmfRecord& record : records) {
    const std::uint32_t size = record.zeroSize ? 0 : record.statedSize ? record.statedSize
                                                                       : static_cast<std::uint32_t>(8 + record.data.size());
    body = Join({body, Words32({record.type, size}), record.data});
  }
  body = Join({body, Words32({14, 20, 0, 16, 20})});
  // Bounds in pixels at 96 dots per inch, the frame, " EMF", version, bytes,
  // records, handles and reserved, description, palette, device sizes.
  const std::int64_t right = widthMm100 * 96LL / 2540, bottom = heightMm100 * 96LL / 2540;
  const MetafileBytes header = Join({Words32({1, 88, 0, 0, right, bottom, 0, 0, widthMm100, heightMm100}),
                                     {' ', 'E', 'M', 'F'},
                                     Words32({0x10000, static_cast<std::int64_t>(88 + body.size()),
                                              static_cast<std::int64_t>(records.size() + 2)}),
                                     Words16({handles, 0}), Words32({0, 0, 0, 1024, 768, 320, 240})});
  return Join({header, body});
}

MetafileBytes CraftWmf(int width, int height, std::uint16_t objects, const std::vector<WmfRecord>& records) {
  MetafileBytes body;
  for (const WmfRecord& record : records) {
    const std::int64_t words = record.zeroSize ? 0 : static_cast<std::int64_t>(3 + record.data.size() / 2);
    body = Join({body, Words32({words}), Words16({record.function}), record.data});
  }
  body = Join({body, Words32({3}), Words16({0})});
  const MetafileBytes header = Join({Words16({1, 9, 0x300}), Words32({static_cast<std::int64_t>((18 + body.size()) / 2)}),
                                     Words16({objects}), Words32({64}), Words16({0})});
  if (width == 0) return Join({header, body});
  const MetafileBytes placeable =
      Join({Words32({static_cast<std::int64_t>(0x9AC6CDD7)}), Words16({0, 0, 0, width, height, 1000}), Words32({0}),
            Words16({0})});
  return Join({placeable, header, body});
}

EmfRecord EmfPolyline(std::uint32_t count, std::uint32_t stored) {
  EmfRecord record{4, Words32({0, 0, 10, 10, count})};
  for (std::uint32_t i = 0; i < stored; ++i) record.data = Join({record.data, Words32({i, i})});
  return record;
}

EmfRecord EmfRectangle(int right, int bottom) { return EmfRecord{43, Words32({0, 0, right, bottom})}; }

}  // namespace qmtest
