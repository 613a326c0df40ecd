// A raw log file: taken whole or not at all. A file that is taken puts valid channel tables in place, and the log
// written out again reads back to the same profile and samples.

#include <cstring>
#include <vector>

#include "fuzzsupport.h"
#include "logger/logprofile.h"
#include "logger/logsamples.h"
#include "logger/rawlog.h"
#include "platform/programstate.h"

using namespace ostrel;

// A raw log is 1,872,000 bytes, beyond the 1 MB to which libFuzzer cuts its inputs unless told otherwise: a run
// that sets no length of its own gets room for a whole log and a little more.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  for (int i = 1; i < *argc; ++i)
    if (std::strncmp((*argv)[i], "-max_len=", 9) == 0) return 0;
  static std::vector<char*> args;
  static char maxlen[] = "-max_len=1872100";
  args.assign(*argv, *argv + *argc);
  args.insert(args.begin() + 1, maxlen);
  args.push_back(nullptr);
  *argc += 1;
  *argv = args.data();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::optional<RawLog> log = parserawlog(fuzz::inputbytes(data, size));
  if (!log) return 0;
  FUZZ_CHECK(log->profile.size() == logprofilesize);
  FUZZ_CHECK(log->samples.size() == static_cast<std::size_t>(rawlogsamples) * logchannelcount);

  ProgramState state;
  state.logcolour.fill(3);
  state.logvar.fill(5);
  logsamples store;
  store.resetlogsamples();
  applyrawlog(*log, state, store);
  for (std::size_t c = 0; c < 16; ++c) {
    const auto colour = static_cast<std::uint8_t>(log->profile[static_cast<qsizetype>(c)]);
    const auto variable = static_cast<std::uint8_t>(log->profile[static_cast<qsizetype>(c + 16)]);
    FUZZ_CHECK(state.logcolour[c] == (colour < logcolourlimit ? colour : 3));
    FUZZ_CHECK(state.logvar[c] == (variable < logvarlimit ? variable : 5));
  }
  // Time stamps and the last two samples are not in the file: they stay as the reset left them.
  FUZZ_CHECK(store.getlogtimestamps(0) == QStringLiteral("0"));
  FUZZ_CHECK(store.getlogdata(rawlogsamples, 0) == 0 && store.getlogdata(rawlogsamples + 1, 15) == 0);

  const std::optional<RawLog> again = parserawlog(rawlogbytes(state, store));
  FUZZ_CHECK(again.has_value());
  FUZZ_CHECK(again->samples == log->samples);
  for (std::size_t c = 0; c < 16; ++c) {
    FUZZ_CHECK(static_cast<std::uint8_t>(again->profile[static_cast<qsizetype>(c)]) == state.logcolour[c]);
    FUZZ_CHECK(static_cast<std::uint8_t>(again->profile[static_cast<qsizetype>(c + 16)]) == state.logvar[c]);
  }
  return 0;
}
