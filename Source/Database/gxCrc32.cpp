// zlib's crc32 is this very CRC. Where the processor multiplies without
// carries (PCLMULQDQ, with SSE4.1), the bulk of a buffer is folded 64 bytes
// at a time instead, many times faster than zlib's tables: the walk of a
// store checks one CRC per record, and this is most of its cost. Where it
// also multiplies 256-bit registers (VPCLMULQDQ with AVX2, and the system
// saves them), 128 bytes go in a step, which halves the fold of a record.
// Short pieces and what a fold leaves over go through a byte table; anything
// else (everything longer on other processors) through zlib.
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

// VPCLMULQDQ and AVX2, with the 256-bit registers enabled by the system
// (XCR0 bits 1 and 2; read with xgetbv only where OSXSAVE says it may be).
bool ProcessorFoldsWide() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  if ((ecx & bit_OSXSAVE) == 0 || (ecx & bit_AVX) == 0) return false;
  unsigned xcr0 = 0, xcr0High = 0;
  __asm__("xgetbv" : "=a"(xcr0), "=d"(xcr0High) : "c"(0));
  if ((xcr0 & 6u) != 6u) return false;
  if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) return false;
  return (ebx & bit_AVX2) != 0 && (ecx & bit_VPCLMULQDQ) != 0;
}

#define QM_FOLDING_TARGET __attribute__((target("pclmul,sse4.1")))
#define QM_WIDE_FOLDING_TARGET __attribute__((target("avx2,vpclmulqdq,pclmul,sse4.1")))

// Powers of x modulo the polynomial, bit-reflected and shifted left by one
// (x^n mod P for the n in each name): multiplying 64 bits by the pair for a
// distance d moves them d bits forward in the message.
constexpr long long kX96 = 0x00000000ccaa009eLL;    // 128 bits forward
constexpr long long kX160 = 0x00000001751997d0LL;
constexpr long long kX224 = 0x000000015a546366LL;   // 256 bits
constexpr long long kX288 = 0x00000000f1da05aaLL;
constexpr long long kX480 = 0x00000001c6e41596LL;   // 512 bits
constexpr long long kX544 = 0x0000000154442bd4LL;
constexpr long long kX992 = 0x000000014a7fe880LL;   // 1024 bits
constexpr long long kX1056 = 0x00000001e88ef372LL;

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
// The 128-bit remainder x1 of the bytes before p, with length more bytes (a
// multiple of 16) still to fold in: folded 128 bits at a time, then reduced
// from 128 bits to 64, and to 32 with the Barrett reduction.
QM_FOLDING_TARGET std::uint32_t FoldTail(__m128i x1, const unsigned char* p, std::size_t length) {
  const __m128i k3k4 = _mm_set_epi64x(kX96, kX160);
  const __m128i k5 = _mm_set_epi64x(0, 0x0000000163cd6124LL);
  const __m128i poly = _mm_set_epi64x(0x00000001f7011641LL, 0x00000001db710641LL);
  const __m128i mask32 = _mm_set_epi32(0, 0, 0, -1);
  while (length >= 16) {
    x1 = Fold(x1, k3k4, Load(p));
    p += 16;
    length -= 16;
  }
  x1 = _mm_xor_si128(_mm_clmulepi64_si128(k3k4, x1, 0x01), _mm_srli_si128(x1, 8));
  x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, mask32), k5, 0x00), _mm_srli_si128(x1, 4));
  __m128i reduced = _mm_clmulepi64_si128(_mm_and_si128(x1, mask32), poly, 0x10);
  reduced = _mm_clmulepi64_si128(_mm_and_si128(reduced, mask32), poly, 0x00);
  x1 = _mm_xor_si128(x1, reduced);
  return static_cast<std::uint32_t>(_mm_extract_epi32(x1, 1));
}

QM_FOLDING_TARGET std::uint32_t FoldCrc32(std::uint32_t crc, const unsigned char* p, std::size_t length) {
  const __m128i k1k2 = _mm_set_epi64x(kX480, kX544);
  const __m128i k3k4 = _mm_set_epi64x(kX96, kX160);
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
  return FoldTail(x1, p, length);
}

QM_WIDE_FOLDING_TARGET inline __m256i LoadWide(const unsigned char* at) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

QM_WIDE_FOLDING_TARGET inline __m256i FoldWide(__m256i into, __m256i constants, __m256i next) {
  return _mm256_xor_si256(_mm256_xor_si256(_mm256_clmulepi64_epi128(into, constants, 0x00),
                                           _mm256_clmulepi64_epi128(into, constants, 0x11)),
                          next);
}

// The bulk of FoldCrc32Wide: four 256-bit lanes folded by 1024 bits, the
// lanes into one, its halves into the 128 bits returned; p and length move
// past what was folded. The upper halves of the registers are cleared before
// returning, so that the SSE code after it pays no transition.
QM_WIDE_FOLDING_TARGET __m128i FoldWideLanes(std::uint32_t crc, const unsigned char*& p, std::size_t& length) {
  const __m256i by1024 = _mm256_set_epi64x(kX992, kX1056, kX992, kX1056);
  const __m256i by256 = _mm256_set_epi64x(kX224, kX288, kX224, kX288);
  __m256i x1 = _mm256_xor_si256(LoadWide(p), _mm256_zextsi128_si256(_mm_cvtsi32_si128(static_cast<int>(crc))));
  __m256i x2 = LoadWide(p + 32);
  __m256i x3 = LoadWide(p + 64);
  __m256i x4 = LoadWide(p + 96);
  p += 128;
  length -= 128;
  while (length >= 128) {
    x1 = FoldWide(x1, by1024, LoadWide(p));
    x2 = FoldWide(x2, by1024, LoadWide(p + 32));
    x3 = FoldWide(x3, by1024, LoadWide(p + 64));
    x4 = FoldWide(x4, by1024, LoadWide(p + 96));
    p += 128;
    length -= 128;
  }
  x1 = FoldWide(x1, by256, x2);
  x1 = FoldWide(x1, by256, x3);
  x1 = FoldWide(x1, by256, x4);
  const __m128i by128 = _mm_set_epi64x(kX96, kX160);
  const __m128i half = Fold(_mm256_castsi256_si128(x1), by128, _mm256_extracti128_si256(x1, 1));
  _mm256_zeroupper();
  return half;
}

// As FoldCrc32, 128 bytes a step (length a multiple of 16, at least 128).
QM_FOLDING_TARGET std::uint32_t FoldCrc32Wide(std::uint32_t crc, const unsigned char* p, std::size_t length) {
  const __m128i folded = FoldWideLanes(crc, p, length);
  return FoldTail(folded, p, length);
}

#endif

}  // namespace

std::uint32_t gxCrc32(const void* data, std::size_t length, std::uint32_t crc) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
#ifdef QM_CRC_FOLDING
  static const bool folds = ProcessorFolds();
  static const bool foldsWide = folds && ProcessorFoldsWide();
  if (folds && length >= 64) {
    const std::size_t folded = length & ~static_cast<std::size_t>(15);
    crc = foldsWide && folded >= 128 ? ~FoldCrc32Wide(~crc, bytes, folded) : ~FoldCrc32(~crc, bytes, folded);
    bytes += folded;
    length -= folded;
    if (length == 0) return crc;
  }
#endif
  return length < kShortPiece ? ByteWiseCrc32(bytes, length, crc) : ZlibCrc32(bytes, length, crc);
}
