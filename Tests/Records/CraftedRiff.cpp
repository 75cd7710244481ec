// The RIFF builder of the tests.
#include "CraftedRiff.h"

#include <algorithm>

namespace qmtest {

namespace {

void Put(RiffBytes& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutId(RiffBytes& out, const std::string& id) { out.insert(out.end(), id.begin(), id.begin() + 4); }

RiffBytes Fields32(std::initializer_list<std::uint32_t> values) {
  RiffBytes out;
  for (std::uint32_t value : values) Put(out, value, 4);
  return out;
}

}  // namespace

RiffBytes RiffChunk(const std::string& id, const RiffBytes& content) {
  RiffBytes out;
  PutId(out, id);
  Put(out, content.size(), 4);
  out.insert(out.end(), content.begin(), content.end());
  if (content.size() % 2) out.push_back(0);
  return out;
}

RiffBytes RiffList(const std::string& type, const std::vector<RiffBytes>& chunks) {
  RiffBytes content;
  PutId(content, type);
  for (const RiffBytes& chunk : chunks) content.insert(content.end(), chunk.begin(), chunk.end());
  return RiffChunk("LIST", content);
}

RiffBytes RiffFile(const std::string& form, const std::vector<RiffBytes>& chunks) {
  RiffBytes list = RiffList(form, chunks);
  const char riff[] = "RIFF";
  std::copy(riff, riff + 4, list.begin());
  return list;
}

RiffBytes WaveFormat(int tag, int channels, std::uint32_t rate, std::uint32_t byteRate, int align, int bits) {
  RiffBytes out;
  Put(out, static_cast<std::uint32_t>(tag), 2);
  Put(out, static_cast<std::uint32_t>(channels), 2);
  Put(out, rate, 4);
  Put(out, byteRate, 4);
  Put(out, static_cast<std::uint32_t>(align), 2);
  Put(out, static_cast<std::uint32_t>(bits), 2);
  return out;
}

RiffBytes PcmFormat(int channels, std::uint32_t rate, int bits) {
  const int align = channels * bits / 8;
  return WaveFormat(1, channels, rate, rate * static_cast<std::uint32_t>(align), align, bits);
}

RiffBytes CraftAvi(const CraftedAvi& avi) {
  // avih: 56 bytes, streams at 24; strh: 56 bytes, type, handler, ..., scale
  // at 20 and rate at 24; strf of the video: a BITMAPINFOHEADER.
  const RiffBytes mainHeader = Fields32({66666, 0, 0, 0x10, 1, 0, 2, 0, static_cast<std::uint32_t>(avi.frameWidth),
                                         static_cast<std::uint32_t>(avi.frameHeight), 0, 0, 0, 0});
  RiffBytes videoHeader;
  PutId(videoHeader, "vids");
  PutId(videoHeader, "DIB ");
  const RiffBytes videoRest = Fields32({0, 0, 0, 1, avi.videoRate, 0, 1, 0, 0, 0, 0, 0});
  videoHeader.insert(videoHeader.end(), videoRest.begin(), videoRest.end());
  const RiffBytes bitmap = Fields32({40, static_cast<std::uint32_t>(avi.frameWidth),
                                     static_cast<std::uint32_t>(avi.frameHeight), 0x00180001, 0, 0, 0, 0, 0, 0});
  RiffBytes soundHeader;
  PutId(soundHeader, "auds");
  Put(soundHeader, 0, 4);
  const RiffBytes soundRest = Fields32({0, 0, 0, 1, 44100, 0, 0, 0, 0, 4, 0, 0});
  soundHeader.insert(soundHeader.end(), soundRest.begin(), soundRest.end());
  std::vector<RiffBytes> chunks = {
      RiffList("hdrl", {RiffChunk("avih", mainHeader),
                        RiffList("strl", {RiffChunk("strh", videoHeader), RiffChunk("strf", bitmap)}),
                        RiffList("strl", {RiffChunk("strh", soundHeader), RiffChunk("strf", avi.soundFormat)})})};
  if (avi.movie) {
    chunks.push_back(RiffList("movi", {RiffChunk("00db", RiffBytes(32 * 24 * 3, 0x40)), RiffChunk("01wb", RiffBytes(16, 0))}));
  }
  chunks.push_back(RiffChunk("idx1", RiffBytes(32, 0)));
  return RiffFile("AVI ", chunks);
}

}  // namespace qmtest
