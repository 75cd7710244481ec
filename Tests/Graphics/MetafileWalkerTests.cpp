// The metafile walk, natively: well-formed EMF and WMF files pass with the
// size they state, and each size, count or index that the platform's player
// would trust is refused once it points outside its record or file.
#include <gtest/gtest.h>

#include <random>

#include "CraftedMetafiles.h"
#include "Graphics/MetafileWalker.h"

using namespace qmtest;

namespace {

bool Walks(const MetafileBytes& bytes, MetafileLayout* layout = nullptr) {
  MetafileLayout seen;
  const bool ok = WalkMetafile(bytes.data(), bytes.size(), seen);
  if (layout) *layout = seen;
  return ok;
}

// A 2 x 2 bitmap of 24 bits under EMR_STRETCHDIBITS; widthStated is what its
// header says.
EmfRecord StretchDib(std::int64_t widthStated) {
  const MetafileBytes dib = Join({Words32({40, widthStated, 2}), Words16({1, 24}), Words32({0, 0, 0, 0, 0, 0}),
                                  MetafileBytes(16, 0x80)});
  return EmfRecord{81, Join({Words32({0, 0, 2, 2, 0, 0, 0, 0, 2, 2, 80, 40, 120, 16, 0, 0x00CC0020, 2, 2}), dib})};
}

}  // namespace

TEST(MetafileWalker, WellFormedMetafilesPassWithTheSizeTheyState) {
  MetafileLayout layout;
  ASSERT_TRUE(Walks(CraftEmf(5080, 2540, 2, {EmfPolyline(2, 2), EmfRectangle(10, 10), StretchDib(2)}), &layout));
  EXPECT_TRUE(layout.enhanced);
  EXPECT_EQ(layout.width, 192);
  EXPECT_EQ(layout.height, 96);
  EXPECT_EQ(layout.records, 5u);

  const WmfRecord polygon{0x0324, Words16({3, 0, 0, 100, 0, 50, 50})};
  ASSERT_TRUE(Walks(CraftWmf(2000, 1000, 1, {polygon, {0x012D, Words16({0})}}), &layout));
  EXPECT_FALSE(layout.enhanced);
  EXPECT_EQ(layout.wmfOffset, 22u);
  EXPECT_EQ(layout.width, 192);
  EXPECT_EQ(layout.height, 96);
  ASSERT_TRUE(Walks(CraftWmf(0, 0, 1, {polygon}), &layout));
  EXPECT_EQ(layout.wmfOffset, 0u);
  EXPECT_EQ(layout.width, 0);
}

TEST(MetafileWalker, SizesCountsBitmapsAndIndicesOutsideTheirRecordAreRefused) {
  EmfRecord zero = EmfRectangle(1, 1);
  zero.zeroSize = true;
  EmfRecord pastEnd = EmfRectangle(1, 1);
  pastEnd.statedSize = 4000;
  EmfRecord oddSize = EmfRectangle(1, 1);
  oddSize.statedSize = 26;
  const EmfRecord selectInside{37, Words32({1})}, selectOutside{37, Words32({2})}, selectStock{37, Words32({0x80000007})};
  const EmfRecord polyPolygonPastEnd{8, Words32({0, 0, 1, 1, 2, 6, 3, 300000})};
  const EmfRecord textPastEnd{84, Join({Words32({0, 0, 1, 1, 1, 0, 0, 0, 0, 500, 76, 0, 0, 0, 0, 0, 0}),
                                        MetafileBytes(8, 'a')})};
  const EmfRecord commentPastEnd{70, Words32({100, 1})};
  struct Case {
    const char* what;
    MetafileBytes bytes;
    bool walks;
  };
  const Case cases[] = {
      {"record of size 0", CraftEmf(2540, 2540, 2, {zero}), false},
      {"record past the end", CraftEmf(2540, 2540, 2, {pastEnd}), false},
      {"size not a multiple of 4", CraftEmf(2540, 2540, 2, {oddSize}), false},
      {"polyline of 2^28 points holding 2", CraftEmf(2540, 2540, 2, {EmfPolyline(1u << 28, 2)}), false},
      {"polyline of 3 points holding 2", CraftEmf(2540, 2540, 2, {EmfPolyline(3, 2)}), false},
      {"polypolygon counts past its points", CraftEmf(2540, 2540, 2, {polyPolygonPastEnd}), false},
      {"text of 500 characters holding 8", CraftEmf(2540, 2540, 2, {textPastEnd}), false},
      {"comment past its record", CraftEmf(2540, 2540, 2, {commentPastEnd}), false},
      {"object inside the table", CraftEmf(2540, 2540, 2, {selectInside}), true},
      {"object outside the table", CraftEmf(2540, 2540, 2, {selectOutside}), false},
      {"stock object", CraftEmf(2540, 2540, 2, {selectStock}), true},
      {"bitmap stated 30000 wide in 16 bytes", CraftEmf(2540, 2540, 2, {StretchDib(30000)}), false},
      {"header record of size 0", [] {
         MetafileBytes bytes = CraftEmf(2540, 2540, 2, {});
         bytes[4] = 0;
         return bytes;
       }(), false},
      {"WMF record of size 0", CraftWmf(1000, 1000, 1, {{0x0418, Words16({1, 1, 0, 0}), true}}), false},
      {"WMF polygon of 30000 points holding 3", CraftWmf(1000, 1000, 1, {{0x0324, Words16({30000, 0, 0, 1, 1, 2, 2})}}), false},
      {"WMF polypolygon past its record", CraftWmf(1000, 1000, 1, {{0x0538, Words16({2, 3, 900, 0, 0, 1, 1, 2, 2})}}), false},
      {"WMF object outside the table", CraftWmf(1000, 1000, 1, {{0x012D, Words16({5})}}), false},
      {"WMF escape past its record", CraftWmf(1000, 1000, 1, {{0x0626, Words16({15, 4000})}}), false},
      {"WMF bitmap stated 30000 wide", CraftWmf(1000, 1000, 1,
                                                 {{0x0F43, Join({Words16({0x20, 0xCC, 0, 2, 2, 0, 0, 2, 2, 0, 0}),
                                                                 Words32({40, 30000, 2}), Words16({1, 24}),
                                                                 Words32({0, 0, 0, 0, 0, 0}), MetafileBytes(16, 1)})}}),
       false},
      {"WMF without its end", [] {
         MetafileBytes bytes = CraftWmf(1000, 1000, 1, {});
         bytes.resize(bytes.size() - 6);
         return bytes;
       }(), false},
  };
  for (const Case& each : cases) EXPECT_EQ(Walks(each.bytes), each.walks) << each.what;
}

TEST(MetafileWalker, GarbageAfterAValidHeaderIsRefusedWithoutReadingOutside) {
  // A fixed seed: the same garbage every run (the fuzz target explores more).
  std::mt19937 random(23);
  const MetafileBytes emf = CraftEmf(2540, 2540, 4, {EmfPolyline(4, 4)});
  const MetafileBytes wmf = CraftWmf(1000, 1000, 1, {{0x0325, Words16({2, 0, 0, 5, 5})}});
  int accepted = 0;
  for (int round = 0; round < 2000; ++round) {
    MetafileBytes bytes = round % 2 ? emf : wmf;
    const std::size_t keep = round % 2 ? 88 : 40;
    for (std::size_t i = keep; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(random());
    bytes.resize(keep + random() % (bytes.size() - keep + 16));
    // Each copy its own block, so a read past its end is an overflow.
    MetafileBytes exact(bytes);
    MetafileLayout layout;
    if (WalkMetafile(exact.data(), exact.size(), layout)) ++accepted;
  }
  EXPECT_LT(accepted, 100);
}

TEST(MetafileWalker, AFrameBeyondTheBudgetIsScaledDownEvenly) {
  std::int64_t width = 10000, height = 10000;
  double scale = 0;
  FitMetafileSize(width, height, 16u * 1024 * 1024, scale);
  EXPECT_LE(width * height, 16 * 1024 * 1024);
  EXPECT_GE(width, 4095);
  EXPECT_EQ(width, height);
  EXPECT_NEAR(scale, 0.4096, 0.001);
  width = 300;
  height = 200;
  FitMetafileSize(width, height, 16u * 1024 * 1024, scale);
  EXPECT_EQ(width, 300);
  EXPECT_EQ(height, 200);
  EXPECT_EQ(scale, 1.0);
}
