// Seeds for random model tests, and the one generator they draw from. A run
// uses the test's fixed seeds (so CI repeats itself); QM_RANDOM_SEED=<number>
// replays one seed instead, QM_RANDOM_SEED=random adds one from the clock.
// Every seed is printed, so a failure can be replayed. The generator's output
// is the same with every standard library: std::mt19937 is fully specified,
// and ranges are cut here rather than by the library's distributions, which
// differ between libstdc++, libc++ and MinGW.
#ifndef QUILLMATE_TESTS_SUPPORT_RANDOMSEEDS_H
#define QUILLMATE_TESTS_SUPPORT_RANDOMSEEDS_H

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace qmtest {

constexpr const char* kRandomSeedVariable = "QM_RANDOM_SEED";

// One slot per fixed seed plus one "Chosen" slot, whatever the environment,
// so the list of test names (which CTest discovers at build time) never
// changes. A slot the run does not use skips.
struct SeedSlot {
  bool chosen;          // the replayed or clock seed
  std::uint32_t fixed;  // the fixed seed, when not chosen
};

inline std::vector<SeedSlot> SeedSlots(const std::vector<std::uint32_t>& fixedSeeds) {
  std::vector<SeedSlot> slots;
  for (std::uint32_t seed : fixedSeeds) slots.push_back({false, seed});
  slots.push_back({true, 0});
  return slots;
}

// How GoogleTest and CTest name a slot's parameter.
inline void PrintTo(const SeedSlot& slot, std::ostream* out) {
  if (slot.chosen)
    *out << "the seed of " << kRandomSeedVariable;
  else
    *out << "fixed seed " << slot.fixed;
}

inline std::string SeedSlotName(const ::testing::TestParamInfo<SeedSlot>& info) {
  return info.param.chosen ? std::string("ChosenSeed") : "Seed" + std::to_string(info.param.fixed);
}

// The seed of a slot for this run; false when the slot does not run.
inline bool SeedOfSlot(const SeedSlot& slot, std::uint32_t& seed) {
  const char* value = std::getenv(kRandomSeedVariable);
  const std::string setting = value != nullptr ? value : "";
  if (setting.empty()) {
    seed = slot.fixed;
    return !slot.chosen;
  }
  if (setting == "random") {
    if (!slot.chosen) {
      seed = slot.fixed;
      return true;
    }
    // One clock seed per process: every test of the run replays with it.
    static const std::uint32_t clockSeed =
        static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count() ^
                                   (std::chrono::steady_clock::now().time_since_epoch().count() >> 7));
    seed = clockSeed;
    return true;
  }
  char* end = nullptr;
  const unsigned long parsed = std::strtoul(setting.c_str(), &end, 0);
  if (end == setting.c_str() || *end != '\0' || parsed > 0xFFFFFFFFul) {
    ADD_FAILURE() << kRandomSeedVariable << " must be a number or \"random\", not \"" << setting << "\"";
    return false;
  }
  seed = static_cast<std::uint32_t>(parsed);
  return slot.chosen;
}

// Prints the seed where a failing run's log shows it, with the line that
// replays it.
inline void AnnounceSeed(std::uint32_t seed) {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::printf("[   SEED   ] %s.%s: %u (replay: %s=%u)\n", info ? info->test_suite_name() : "?",
              info ? info->name() : "?", static_cast<unsigned>(seed), kRandomSeedVariable,
              static_cast<unsigned>(seed));
  std::fflush(stdout);
  ::testing::Test::RecordProperty("seed", std::to_string(seed));
}

class RandomSource {
 public:
  explicit RandomSource(std::uint32_t seed) : m_engine(seed) {}

  std::uint32_t Next() { return static_cast<std::uint32_t>(m_engine()); }
  // 0 .. bound-1 (bound > 0); the multiply-shift keeps the bias below 2^-20
  // for the small bounds the tests use.
  std::uint32_t Below(std::uint32_t bound) {
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(Next()) * bound) >> 32);
  }
  // low .. high inclusive.
  std::uint32_t Between(std::uint32_t low, std::uint32_t high) { return low + Below(high - low + 1); }
  // True with probability percent/100.
  bool Percent(std::uint32_t percent) { return Below(100) < percent; }
  unsigned char Byte() { return static_cast<unsigned char>(Next() >> 24); }

 private:
  std::mt19937 m_engine;
};

}  // namespace qmtest

#endif  // QUILLMATE_TESTS_SUPPORT_RANDOMSEEDS_H
