// A bounded walk over the records of a WMF or EMF held in memory, done
// before the platform's metafile player sees a byte of it: the player trusts
// record sizes, point counts, bitmap sizes and object indices, and a crafted
// file ends or hangs the program inside it. Portable, so it is fuzzed
// natively.
//
//   EMF record: | type u32 | size u32 (bytes, >= 8, a multiple of 4) | ... |
//     the first is EMR_HEADER (type 1, >= 88 bytes: bounds at 8, frame in
//     hundredths of a millimetre at 24, " EMF" at 40, handle count u16 at 56);
//     the walk ends at EMR_EOF (type 14).
//   WMF: an optional 22-byte placeable header (key 0x9AC6CDD7, bounding box
//     at 6, units per inch at 14), an 18-byte header (type 1 or 2, header
//     size 9 words, object count u16 at 10), then records
//     | size u32 (16-bit words, >= 3) | function u16 | parameters |
//     ending at function 0.
//
// What is checked: every record lies inside the file and is not of size 0;
// inside the records of the player's that read counted data (points,
// polygons, text, palettes, regions, escapes, comments, bitmaps), the count
// times the item's size lies inside the record; bitmaps state a sane size
// whose palette and bits lie inside the record; object indices lie inside the
// handle table the header declares. At most kMaxMetafileRecords records.
#ifndef QUILLMATE_GRAPHICS_METAFILEWALKER_H
#define QUILLMATE_GRAPHICS_METAFILEWALKER_H

#include <cstddef>
#include <cstdint>

constexpr std::uint32_t kMaxMetafileRecords = 1000000;

struct MetafileLayout {
  bool enhanced = false;        // EMF, else WMF
  std::size_t wmfOffset = 0;    // of the standard WMF (22 after a placeable header)
  // The size the file states, in pixels at 96 dots per inch: an EMF's frame,
  // a placeable WMF's bounding box; 0 x 0 for a standard WMF, which states
  // none (the platform then picks one).
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t records = 0;
};

// True when the walk above finds nothing wrong; layout then describes the
// file. False for anything else, including a file that is not a metafile.
bool WalkMetafile(const std::uint8_t* data, std::size_t size, MetafileLayout& layout);

// The size to play a metafile stated as width x height at: the same when it
// fits pixelBudget, else scaled down evenly until it does (a vector picture
// loses nothing but detail). scale receives the factor (1 when unchanged).
void FitMetafileSize(std::int64_t& width, std::int64_t& height, std::uint64_t pixelBudget, double& scale);

#endif  // QUILLMATE_GRAPHICS_METAFILEWALKER_H
