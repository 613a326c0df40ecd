#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace ostrel {

struct Preferences;

// What the communication statistics window keeps from one opening to the next: the smoothed frame frequency and
// the frame count at its previous tick.
struct ComStatsMemory {
  std::int32_t lastframecount = 0;
  float frequency = 0.0f;
};

// The texts of one refresh of the communication statistics window.
struct ComStatsTexts {
  QString frequency;             // "12.3 Hz"
  std::optional<QString> yield;  // "95.0 %"; none before any frame was sent (the label keeps its text)
  QString firmware;              // "V2.64, correct version"
  QString autosync;              // "Auto-sync disabled"
};

// The arithmetic of the communication statistics window, one call per tick of its 500 ms timer.
class ComStats {
 public:
  static constexpr float minfrequency = 5.0f;
  static constexpr float maxfrequency = 100.0f;

  explicit ComStats(ComStatsMemory& memory) : memory_(memory) {}

  // Smooths the frames sent since the previous tick into the frequency and writes all four texts.
  ComStatsTexts tick(std::int32_t framessent, std::int32_t errorcount, std::uint8_t fwversion,
                     const Preferences& preferences);

  // The share of frames without error, limited to 0 to 100 % (the error counter can run ahead of the frame
  // counter: errors are counted on ticks with nothing sent, and the two stop at 100000 apart); none while no frame
  // was sent.
  static std::optional<QString> yieldtext(std::int32_t framessent, std::int32_t errorcount);
  static QString firmwaretext(std::uint8_t fwversion);
  static QString autosynctext(const Preferences& preferences);

 private:
  ComStatsMemory& memory_;
};

}  // namespace ostrel
