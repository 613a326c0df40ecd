#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace ostrel {

class EcuLink;
class maps;
struct ProgramState;

// The fast verify: compares the model's checksum of each map with the one the ECU reports for it, stepping the
// current map from 0 to 114, one step per tick of the window's 20 ms timer. A map fails once the two have differed
// for 51 ticks in a row; the run ends at map 115, or after the sixth failure.
class FastVerify {
 public:
  static constexpr std::uint8_t lastmap = 115;  // the run ends here; this map is not compared
  static constexpr int failticks = 51;
  static constexpr int maxfailures = 5;
  static constexpr int reportlines = 7;

  // How a step ended the run.
  enum class End { none, passed, notsame, terminated };

  FastVerify(ProgramState& state, const EcuLink& link, const maps& mainmaps);

  // The window has loaded: the run starts at map 0 with no failures.
  void start();
  // One tick of the window's timer.
  End step();

  // The report of the last seven maps (Text1) and the list of failed maps (Text2).
  const QString& report() const { return report_; }
  const QString& failures() const { return failures_; }
  int progress() const { return progress_; }
  int fvfailures() const { return fvfailures_; }

  // The message that ends a run, empty for a silent end (untranslated).
  static QString endmessage(End end);
  // The map's definition string up to its first ";": group, name and axes.
  static QString shortname(const QString& definition);

 private:
  void addline(const QString& line);

  ProgramState& state_;
  const EcuLink& link_;
  const maps& mainmaps_;
  std::array<QString, reportlines> lines_{};  // oldest first
  QString report_;
  QString failures_;
  int mismatchticks_ = 0;
  int fvfailures_ = 0;
  int progress_ = 0;
};

}  // namespace ostrel
