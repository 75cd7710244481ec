// The WAVE and AVI check, natively: files as the recorder and the capture
// write them pass; each field a player divides by or trusts, broken alone,
// is refused; cut anywhere, no file is read outside its bytes.
#include <gtest/gtest.h>

#include "CraftedRiff.h"
#include "Records/RiffMediaCheck.h"

using namespace qmtest;

namespace {

const char* ProblemOf(const RiffBytes& bytes, RiffMedia kind) {
  MemoryRiffSource source(bytes.data(), bytes.size());
  return RiffMediaProblem(source, kind);
}

RiffBytes Wave(const RiffBytes& format, std::size_t dataBytes = 64) {
  return RiffFile("WAVE", {RiffChunk("fmt ", format), RiffChunk("data", RiffBytes(dataBytes, 0x11))});
}

std::string Text(const char* problem) { return problem ? problem : "playable"; }

}  // namespace

TEST(RiffMediaCheck, RecordingsAsWrittenPassAndEachBrokenFieldIsRefused) {
  EXPECT_EQ(Text(ProblemOf(Wave(PcmFormat(2, 44100, 16)), RiffMedia::RecorderWave)), "playable");
  EXPECT_EQ(Text(ProblemOf(Wave(PcmFormat(1, 8000, 8)), RiffMedia::RecorderWave)), "playable");
  EXPECT_EQ(Text(ProblemOf(CraftAvi({}), RiffMedia::Avi)), "playable");
  CraftedAvi sixChannels;
  sixChannels.soundFormat = PcmFormat(6, 48000, 16);
  EXPECT_EQ(Text(ProblemOf(CraftAvi(sixChannels), RiffMedia::Avi)), "playable");

  RiffBytes dataPastEnd = Wave(PcmFormat(2, 44100, 16));
  dataPastEnd[40] = 0xFF;  // the data chunk's size
  dataPastEnd[41] = 0xFF;
  RiffBytes riffPastEnd = Wave(PcmFormat(2, 44100, 16));
  riffPastEnd[6] = 0x10;
  const RiffBytes dataFirst = RiffFile("WAVE", {RiffChunk("data", RiffBytes(4, 0)), RiffChunk("fmt ", PcmFormat(2, 44100, 16))});
  struct Case {
    const char* what;
    RiffBytes bytes;
    RiffMedia kind;
    const char* problem;
  };
  CraftedAvi noRate, noChannels, hugeFrame, noMovie;
  noRate.videoRate = 0;
  noChannels.soundFormat = WaveFormat(1, 0, 44100, 176400, 4, 16);
  hugeFrame.frameWidth = 100000;
  hugeFrame.frameHeight = 100000;
  noMovie.movie = false;
  const Case cases[] = {
      {"0 channels", Wave(WaveFormat(1, 0, 44100, 176400, 4, 16)), RiffMedia::RecorderWave,
       "its sound format states 0 channels"},
      {"3 channels in an audio note", Wave(PcmFormat(3, 44100, 16)), RiffMedia::RecorderWave,
       "its sound format states more channels than it can play"},
      {"rate 0", Wave(WaveFormat(1, 2, 0, 0, 4, 16)), RiffMedia::RecorderWave,
       "its sound format states a rate or block size of 0"},
      {"block alignment 0", Wave(WaveFormat(0x55, 2, 44100, 16000, 0, 0)), RiffMedia::RecorderWave,
       "its sound format states a rate or block size of 0"},
      {"alignment not what PCM needs", Wave(WaveFormat(1, 2, 44100, 176400, 3, 16)), RiffMedia::RecorderWave,
       "its sound format states rates that do not agree"},
      {"format cut short", Wave(RiffBytes(10, 1)), RiffMedia::RecorderWave, "its sound format is cut short"},
      {"data chunk past the end", dataPastEnd, RiffMedia::RecorderWave, "a chunk past the end of the file"},
      {"RIFF size past the end", riffPastEnd, RiffMedia::RecorderWave, "its RIFF size runs past the end of the file"},
      {"data before format", dataFirst, RiffMedia::RecorderWave, "its sound data comes before its format"},
      {"an AVI as an audio note", CraftAvi({}), RiffMedia::RecorderWave, "it is not a WAVE file"},
      {"stream rate 0", CraftAvi(noRate), RiffMedia::Avi, "a stream states a rate of 0"},
      {"AVI sound of 0 channels", CraftAvi(noChannels), RiffMedia::Avi, "its sound format states 0 channels"},
      {"frame of 10^10 pixels", CraftAvi(hugeFrame), RiffMedia::Avi, "its video format states an impossible frame"},
      {"no movie list", CraftAvi(noMovie), RiffMedia::Avi, "it has no movie data"},
      {"too many chunks", [] {
         std::vector<RiffBytes> chunks = {RiffChunk("fmt ", PcmFormat(2, 44100, 16))};
         for (int i = 0; i < 100001; ++i) chunks.push_back(RiffChunk("junk", {}));
         return RiffFile("WAVE", chunks);
       }(), RiffMedia::RecorderWave, "too many chunks"},
  };
  for (const Case& each : cases) EXPECT_EQ(Text(ProblemOf(each.bytes, each.kind)), each.problem) << each.what;
}

TEST(RiffMediaCheck, EveryCutOfAFileIsReadWithinItsBytes) {
  const RiffBytes files[] = {Wave(PcmFormat(2, 44100, 16), 8), CraftAvi({})};
  for (const RiffBytes& whole : files) {
    const RiffMedia kind = whole[8] == 'W' ? RiffMedia::RecorderWave : RiffMedia::Avi;
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
      const RiffBytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
      // A cut file's RIFF size runs past its end: never playable.
      EXPECT_NE(ProblemOf(part, kind), nullptr) << cut;
    }
  }
}
