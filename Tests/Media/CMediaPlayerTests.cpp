// The media player over the real MCI window under Wine, playing a short WAV
// on the null sound device: length, moving position, end, rewind, seek,
// pause and close.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "Media/CMediaPlayer.h"
#include "Media/CWaveFile.h"
#include "Support/MessagePump.h"
#include "Support/ScratchFolder.h"
#include "Support/TestHostWindow.h"

using namespace qmtest;

namespace {

constexpr DWORD kPlaybackWaitMs = 20000;

// A WAV of `seconds` of a quiet tone, written the way the recorder writes.
void WriteSound(const std::string& path, int seconds) {
  CWaveFile file;
  ASSERT_TRUE(file.Create(path));
  std::vector<short> samples(2 * 44100);
  for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<short>((i / 2 % 100) * 10);
  for (int s = 0; s < seconds; ++s) {
    ASSERT_EQ(file.Append(samples.data(), samples.size() * 2), samples.size() * 2);
  }
  ASSERT_TRUE(file.Complete());
}

}  // namespace

TEST(CMediaPlayerTest, PlaysToTheEndRewindsSeeksPausesAndClosesItsWindow) {
  ScratchFolder folder("player");
  const std::string path = folder.PathOf("note.wav");
  WriteSound(path, 2);
  TestHostWindow host(200, 100);

  CMediaPlayer player;
  player.SetParent(host.Handle());
  ASSERT_TRUE(player.Open(path, 0, 1, 1, 1));
  HWND window = player.Window();
  ASSERT_TRUE(IsWindow(window));
  EXPECT_EQ(GetParent(window), host.Handle());
  EXPECT_TRUE(player.IsPlaying());
  EXPECT_EQ(player.FileName(), path);
  // Two seconds in the MCI window's unit for sound, milliseconds.
  EXPECT_EQ(player.Length(), 2000);

  ASSERT_TRUE(PumpUntil([&] { return player.Position() > 0; }, kPlaybackWaitMs));
  ASSERT_TRUE(PumpUntil([&] { return player.Position() >= player.Length(); }, kPlaybackWaitMs));

  player.Rewind();
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(player.Position(), 0);

  player.SeekAndPlay(1500);
  EXPECT_TRUE(player.IsPlaying());
  EXPECT_GE(player.Position(), 1500);
  // The null device has no clock: how far a pause gets is not telling.
  player.PlayPause();
  EXPECT_FALSE(player.IsPlaying());
  player.PlayPause();
  EXPECT_TRUE(player.IsPlaying());
  ASSERT_TRUE(PumpUntil([&] { return player.Position() >= player.Length(); }, kPlaybackWaitMs));

  // Opening again replaces the window.
  ASSERT_TRUE(player.Open(path, 0, 1, 1, 1));
  EXPECT_FALSE(IsWindow(window));
  window = player.Window();
  player.Close();
  PumpMessages();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(player.Window(), nullptr);
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(player.Length(), 0);
}
