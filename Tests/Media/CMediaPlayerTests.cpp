// The media player over the real MCI window under Wine, playing a short WAV
// on the null sound device: length, moving position, end, rewind, seek,
// pause and close.
#include <gtest/gtest.h>

#include <windows.h>

#include "Media/CMediaPlayer.h"
#include "Support/CaptureSignal.h"
#include "Support/MessagePump.h"
#include "Support/ScratchFolder.h"
#include "Support/TestHostWindow.h"

using namespace qmtest;

namespace {

constexpr DWORD kPlaybackWaitMs = 20000;

}  // namespace

TEST(CMediaPlayerTest, PlaysToTheEndRewindsSeeksPausesAndClosesItsWindow) {
  ScratchFolder folder("player");
  const std::string path = folder.PathOf("note.wav");
  WriteToneWave(path, 2);
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
