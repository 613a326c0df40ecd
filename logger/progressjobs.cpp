#include "logger/progressjobs.h"

#include <QSaveFile>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "link/eculink.h"
#include "logger/csvexport.h"
#include "logger/logchannels.h"
#include "logger/loggridmodel.h"
#include "logger/logprofile.h"
#include "logger/logsamples.h"
#include "logger/rawlog.h"
#include "platform/filesave.h"
#include "platform/installfolder.h"
#include "platform/numbers.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "platform/readfile.h"

namespace ostrel {

struct ProgressJobs::Export {
  logsamples snapshot;
  std::unique_ptr<CsvExport> csv;
  QSaveFile file;
  int nextline = 0;

  Export(const logsamples& store, const QString& path) : snapshot(store), file(path) {}
};

namespace {

const QString csvfilter = QStringLiteral("csv files (*.csv)");
const QString rdlfilter = QStringLiteral("rdl files (*.rdl)");

// Guards tick() against a second tick arriving while a job's dialog is open.
class Reentry {
 public:
  explicit Reentry(bool& flag) : flag_(flag) { flag_ = true; }
  ~Reentry() { flag_ = false; }
  Reentry(const Reentry&) = delete;
  Reentry& operator=(const Reentry&) = delete;

 private:
  bool& flag_;
};

}  // namespace

bool rawimportallowed(Prompts& prompts, const ProgramState& state) {
  if (!state.online) return true;
  prompts.message(onlineimportmessage, Prompts::Icon::Information);
  return false;
}

ProgressJobs::ProgressJobs(ProgramState& state, maps& mainmaps, const settings& tables, logsamples& store,
                           const EcuLink& link, Prompts& prompts)
    : state_(state), mainmaps_(mainmaps), tables_(tables), store_(store), link_(link), prompts_(prompts) {}

ProgressJobs::~ProgressJobs() = default;

bool ProgressJobs::show() {
  if (open_) return false;  // a running job is never replaced: its file, its dialog and its window stay its own
  export_.reset();
  path_.clear();
  bar_ = 0.0f;
  stalledticks_ = 0;
  job_ = state_.progressjob;
  open_ = true;
  outcome_ = Outcome::running;
  if (job_ > static_cast<std::uint8_t>(ProgressJob::preset1ohm)) close(Outcome::failed);  // no such job
  return true;
}

void ProgressJobs::pressbar() {
  bar_ = 0.0f;
}

void ProgressJobs::abandon() {
  if (open_) close(Outcome::cancelled);
}

void ProgressJobs::close(Outcome outcome) {
  if (export_) export_->file.cancelWriting();  // no half-written file replaces an old one
  export_.reset();
  open_ = false;
  outcome_ = outcome;
  state_.trimbox.active = false;
}

void ProgressJobs::tick() {
  if (!open_ || ticking_) return;
  Reentry guard(ticking_);
  switch (static_cast<ProgressJob>(job_)) {
    case ProgressJob::timed:
      timedstep();
      break;
    case ProgressJob::loggrid:
      gridstep();
      break;
    case ProgressJob::csvexport:
      csvstep();
      break;
    case ProgressJob::mapsync:
      mapsyncstep();
      break;
    case ProgressJob::rawexport:
      rawexportstep();
      break;
    case ProgressJob::rawimport:
      rawimportstep();
      break;
    case ProgressJob::preset16ohm:
    case ProgressJob::preset10ohm:
    case ProgressJob::preset2_5ohm:
    case ProgressJob::preset1ohm:
      presetstep();
      break;
  }
}

void ProgressJobs::timedstep() {
  std::int16_t step = static_cast<std::int16_t>(roundhalfeven(state_.progresstotal / 100.0));
  if (step < 1) step = 1;
  timedcounter_ = static_cast<std::int16_t>(timedcounter_ + step);
  if (timedcounter_ < 100) {
    bar_ = timedcounter_;
  } else {
    timedcounter_ = 1;  // a later showing counts from 1, as it always has
    close(Outcome::done);
  }
}

void ProgressJobs::gridstep() {
  if (grid_) grid_->fill(store_, logcolumns(state_, tables_, mainmaps_, logvariables(tables_)));
  bar_ = 100.0f;
  close(Outcome::done);
}

bool ProgressJobs::openexport() {
  return unreplaceable(path_).isEmpty() && export_->file.open(QIODevice::WriteOnly);
}

bool ProgressJobs::writechunk(const QByteArray& bytes) {
  return export_->file.write(bytes) == bytes.size();
}

void ProgressJobs::exportfailed() {
  close(Outcome::failed);
  prompts_.message(exporterrormessage, Prompts::Icon::Exclamation, Prompts::Buttons::Ok,
                   QStringLiteral("System error"));
}

void ProgressJobs::csvstep() {
  if (!export_) {
    path_ = withdefaultextension(prompts_.savefilename(QStringLiteral("Export CSV"), csvfilter, installfolder()),
                                 QStringLiteral("csv"));
    if (path_.isEmpty()) {
      close(Outcome::cancelled);
      return;
    }
    export_ = std::make_unique<Export>(store_, path_);
    const LogColumns columns = logcolumns(state_, tables_, mainmaps_, logvariables(tables_), 2);
    export_->csv = std::make_unique<CsvExport>(export_->snapshot, columns);
    if (!openexport() || !writechunk(export_->csv->header())) exportfailed();
    return;
  }
  QByteArray chunk;
  chunk.reserve(csvsamplesatick * 110);
  export_->csv->step(csvsamplesatick, chunk);
  if (!writechunk(chunk)) {
    exportfailed();
    return;
  }
  bar_ = static_cast<float>(export_->csv->position() / 480);
  if (!export_->csv->finished()) return;
  if (!export_->file.commit()) {
    exportfailed();
    return;
  }
  close(Outcome::done);
}

void ProgressJobs::rawfailed() {
  close(Outcome::failed);
  prompts_.message(fileerrormessage, Prompts::Icon::Exclamation);
}

void ProgressJobs::rawexportstep() {
  if (!export_) {
    path_ = withdefaultextension(prompts_.savefilename(QStringLiteral("Export raw log"), rdlfilter, installfolder()),
                                 QStringLiteral("rdl"));
    if (path_.isEmpty()) {
      close(Outcome::cancelled);
      return;
    }
    export_ = std::make_unique<Export>(store_, path_);
    if (!openexport() || !writechunk(rawlogheader(state_.logcolour, state_.logvar)))
      rawfailed();
    return;
  }
  const int first = export_->nextline;
  const int last = std::min(first + rawlinesatick, rawlogdatalines);
  QByteArray chunk;
  chunk.reserve((last - first) * rawloglinelength);
  appendrawloglines(chunk, export_->snapshot, first, last);
  if (!writechunk(chunk)) {
    rawfailed();
    return;
  }
  export_->nextline = last;
  bar_ = static_cast<float>(last / 240);
  if (last < rawlogdatalines) return;
  if (!export_->file.commit()) {
    rawfailed();
    return;
  }
  close(Outcome::done);
}

void ProgressJobs::rawimportstep() {
  if (!rawimportallowed(prompts_, state_)) {
    close(Outcome::failed);
    return;
  }
  path_ = prompts_.openfilename(QStringLiteral("Import raw log"), rdlfilter, installfolder());
  if (path_.isEmpty()) {
    close(Outcome::cancelled);
    return;
  }
  // A raw log has one size and its fields fixed places, so only that many bytes are read: a copy with a line end
  // more still imports, and memory stays flat however long the file. A pipe or a device is refused before it can
  // block or flood the window.
  const FileRead file = readfilehead(path_, rawlogsize);
  const std::optional<RawLog> log = file.ok() ? parserawlog(file.bytes) : std::nullopt;
  if (!log) {
    rawfailed();
    return;
  }
  applyrawlog(*log, state_, store_);
  bar_ = 100.0f;
  close(Outcome::done);
}

void ProgressJobs::mapsyncstep() {
  if (!state_.online) {  // nothing will be queued or sent any more
    close(Outcome::failed);
    return;
  }
  state_.trimbox.active = true;
  const int rows = mainmaps_.getmaprows(state_.curmap);
  const int cols = mainmaps_.getmapcols(state_.curmap);
  if (rows <= 0 || cols <= 0) {
    close(Outcome::failed);
    return;
  }
  float q = 0.0f;
  if (bar_ == 0.0f) {
    host_->queuemaprows(0, rows - 1, 0, cols - 1);
    bar_ = 1.0f;
    stalledticks_ = 0;
  } else {
    const int cells = state_.curmap == 0 ? rows * 2 * cols : rows * cols;  // map 0 holds two bytes a cell
    const float total = static_cast<float>(cells / 16);
    q = static_cast<float>(link_.lastqueuedtransfer());
    if (q > total) q = total;
    if (!(q <= 0.0f && total != 1.0f)) bar_ = (total - q) * 99.0f / total + 1.0f;
  }
  if (bar_ > 95.0f && q == 0.0f) {
    close(Outcome::done);
    return;
  }
  if (bar_ <= 1.0f && ++stalledticks_ >= mapsyncstallticks) close(Outcome::failed);
}

void ProgressJobs::presetstep() {
  if (bar_ == 0.0f) {
    // A preset rewrites the map as an edit would, and edits of a guarded map are refused.
    if (mapguarded(state_.guards, injectormap)) {
      refuseguarded(prompts_);
      close(Outcome::failed);
      return;
    }
    const auto& preset = injectorpresets[static_cast<std::size_t>(job_ - static_cast<int>(ProgressJob::preset16ohm))];
    for (int c = 0; c < 16; ++c)
      setcell(mainmaps_, state_.guards, injectormap, 0, c, preset[static_cast<std::size_t>(c)], true);
    bar_ = 20.0f;
    state_.curmap = injectormap;
    host_->openmapview();
    return;
  }
  bar_ += 20.0f;
  if (bar_ >= 100.0f) close(Outcome::done);
}

}  // namespace ostrel
