// zlib's crc32 is this very CRC. Where the processor multiplies without
// carries (PCLMULQDQ, with SSE4.1), the bulk of a buffer is folded 64 bytes
// at a time instead, many times faster than zlib's tables: the walk of a
// store checks one CRC per record, and this is most of its cost. Short
// pieces and what a fold leaves over go through a byte table; anything else
// (everything longer on other processors) through zlib.
#include "Database/gxCrc32.h"

#include <zlib.h>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#define QM_CRC_FOLDING 1
#endif

namespace {

// A byte at a time through a 256-entry table, for the few bytes a fold
// leaves over and for short pieces: cheaper than a call into zlib.
struct ByteTable {
  std::uint32_t entries[256];
};

constexpr ByteTable MakeByteTable() {
  ByteTable table{};
  for (std::uint32_t byte = 0; byte < 256; ++byte) {
    std::uint32_t value = byte;
    for (int bit = 0; bit < 8; ++bit) value = (value & 1u) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
    table.entries[byte] = value;
  }
  return table;
}

constexpr ByteTable kByteTable = MakeByteTable();
constexpr std::size_t kShortPiece = 32;

std::uint32_t ByteWiseCrc32(const unsigned char* bytes, std::size_t length, std::uint32_t crc) {
  crc = ~crc;
  for (std::size_t i = 0; i < length; ++i) crc = kByteTable.entries[(crc ^ bytes[i]) & 0xFFu] ^ (crc >> 8);
  return ~crc;
}

std::uint32_t ZlibCrc32(const unsigned char* bytes, std::size_t length, std::uint32_t crc) {
  uLong running = crc;
  // zlib counts in uInt: feed anything longer in pieces.
  constexpr std::size_t kPiece = 1u << 30;
  do {
    const std::size_t piece = length < kPiece ? length : kPiece;
    running = crc32(running, bytes, static_cast<uInt>(piece));
    bytes += piece;
    length -= piece;
  } while (length > 0);
  return static_cast<std::uint32_t>(running);
}

#ifdef QM_CRC_FOLDING

bool ProcessorFolds() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  return (ecx & bit_PCLMUL) != 0 && (ecx & bit_SSE4_1) != 0;
}

#define QM_FOLDING_TARGET __attribute__((target("pclmul,sse4.1")))

QM_FOLDING_TARGET inline __m128i Load(const unsigned char* at) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// into, 128 bits, multiplied forward by the distance the constants stand for,
// plus next.
QM_FOLDING_TARGET inline __m128i Fold(__m128i into, __m128i constants, __m128i next) {
  return _mm_xor_si128(
      _mm_xor_si128(_mm_clmulepi64_si128(into, constants, 0x00), _mm_clmulepi64_si128(into, constants, 0x11)),
      next);
}

// The register form of the CRC (not inverted) over length bytes, a multiple
// of 16 and at least 64: fold four 128-bit lanes by 512 bits, fold them into
// one, fold the rest 128 bits at a time, then reduce 128 bits to 32 (Barrett).
// The constants are powers of x modulo the reflected polynomial 0xEDB88320
// (Intel, "Fast CRC Computation for Generic Polynomials Using PCLMULQDQ").
QM_FOLDING_TARGET std::uint32_t FoldCrc32(std::uint32_t crc, const unsigned char* p, std::size_t length) {
  const __m128i k1k2 = _mm_set_epi64x(0x00000001c6e41596LL, 0x0000000154442bd4LL);
  const __m128i k3k4 = _mm_set_epi64x(0x00000000ccaa009eLL, 0x00000001751997d0LL);
  const __m128i k5 = _mm_set_epi64x(0, 0x0000000163cd6124LL);
  const __m128i poly = _mm_set_epi64x(0x00000001f7011641LL, 0x00000001db710641LL);
  const __m128i mask32 = _mm_set_epi32(0, 0, 0, -1);
  __m128i x1 = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
  __m128i x2 = Load(p + 16);
  __m128i x3 = Load(p + 32);
  __m128i x4 = Load(p + 48);
  p += 64;
  length -= 64;
  while (length >= 64) {
    x1 = Fold(x1, k1k2, Load(p));
    x2 = Fold(x2, k1k2, Load(p + 16));
    x3 = Fold(x3, k1k2, Load(p + 32));
    x4 = Fold(x4, k1k2, Load(p + 48));
    p += 64;
    length -= 64;
  }
  x1 = Fold(x1, k3k4, x2);
  x1 = Fold(x1, k3k4, x3);
  x1 = Fold(x1, k3k4, x4);
  while (length >= 16) {
    x1 = Fold(x1, k3k4, Load(p));
    p += 16;
    length -= 16;
  }
  // 128 bits to 64, then to 32 with the Barrett reduction.
  x1 = _mm_xor_si128(_mm_clmulepi64_si128(k3k4, x1, 0x01), _mm_srli_si128(x1, 8));
  x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, mask32), k5, 0x00), _mm_srli_si128(x1, 4));
  __m128i reduced = _mm_clmulepi64_si128(_mm_and_si128(x1, mask32), poly, 0x10);
  reduced = _mm_clmulepi64_si128(_mm_and_si128(reduced, mask32), poly, 0x00);
  x1 = _mm_xor_si128(x1, reduced);
  return static_cast<std::uint32_t>(_mm_extract_epi32(x1, 1));
}

#endif

}  // namespace

std::uint32_t gxCrc32(const void* data, std::size_t length, std::uint32_t crc) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
#ifdef QM_CRC_FOLDING
  static const bool folds = ProcessorFolds();
  if (folds && length >= 64) {
    const std::size_t folded = length & ~static_cast<std::size_t>(15);
    crc = ~FoldCrc32(~crc, bytes, folded);
    bytes += folded;
    length -= folded;
    if (length == 0) return crc;
  }
#endif
  return length < kShortPiece ? ByteWiseCrc32(bytes, length, crc) : ZlibCrc32(bytes, length, crc);
}
