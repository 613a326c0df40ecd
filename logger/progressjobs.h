#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

namespace ostrel {

class CsvExport;
class EcuLink;
class LogGridModel;
class Prompts;
class logsamples;
class maps;
class settings;
struct ProgramState;

// What the progress jobs need from above: the map synchronisation marks the current map for writing (it watches the
// queue drain on the link itself); the presets refresh the map views. The shell implements it and hands it over
// with ProgressJobs::sethost; every call has a do-nothing default.
class ProgressHost {
 public:
  virtual ~ProgressHost() = default;
  // Marks cells of the current map for writing into the ECU: they join the pending-write rectangle, whose image
  // rows go into the link's queue when the pending-write countdown runs out.
  virtual void queuemaprows(int /*firstrow*/, int /*lastrow*/, int /*firstcol*/, int /*lastcol*/) {}
  // Opens or refreshes the views of the current map.
  virtual void openmapview() {}
};

// The progress window's job codes (the program's progressjob).
enum class ProgressJob : std::uint8_t {
  timed = 0,      // a timed display of progresstotal (the map fragment import)
  loggrid = 1,    // fill the logger's grid
  csvexport = 2,  // "Export CSV"
  mapsync = 3,    // write the current map into the ECU again
  rawexport = 4,  // "Export raw log"
  rawimport = 5,  // "Import raw log"
  preset16ohm = 6,
  preset10ohm = 7,
  preset2_5ohm = 8,
  preset1ohm = 9,
};

// The injector response presets for map 40 (row 0, columns 0 to 15), jobs 6 to 9 in order.
inline constexpr std::array<std::array<std::uint8_t, 16>, 4> injectorpresets = {{
    {185, 164, 148, 135, 124, 114, 105, 98, 91, 86, 81, 77, 73, 71, 69, 67},
    {139, 123, 111, 101, 93, 85, 79, 73, 68, 64, 61, 58, 55, 53, 52, 51},
    {93, 83, 74, 68, 62, 57, 53, 49, 46, 43, 41, 39, 37, 36, 35, 34},
    {46, 41, 37, 34, 31, 28, 27, 25, 23, 22, 21, 20, 19, 18, 17, 16},
}};
inline constexpr int injectormap = 40;

inline const QString exporterrormessage = QStringLiteral("An export error occured");
inline const QString onlineimportmessage = QStringLiteral(
    "It is not possible to import the contents of a log file when the data logger is recording (online mode)");
inline const QString gridfillmessage = QStringLiteral("Please wait while the grid is filled with the imported log");

// "&Import raw log" before it starts job 5: refused with onlineimportmessage while the link is open, so that no
// job, no grid fill and no message about one follows. (The job refuses as well.)
bool rawimportallowed(Prompts& prompts, const ProgramState& state);

// The jobs of the progress window, one step a tick of its 100 ms timer, so the window never waits inside a job.
// The window calls show() when it opens, tick() on every timer tick and pressbar() on a press on the bar, shows
// bar() and closes itself once isopen() turns false. The object lives for the run: the timed display's counter
// carries over from one showing to the next. Every close clears the map views' selection box.
class ProgressJobs {
 public:
  enum class Outcome { running, done, cancelled, failed };

  static constexpr int csvsamplesatick = 6000;  // the export of a full log takes eight ticks
  static constexpr int rawlinesatick = 3000;
  static constexpr int mapsyncstallticks = 100;  // about 10 s at the first step: the write never got queued

  // The map synchronisation watches the link's waiting writes (a running whole-image write counts among them).
  ProgressJobs(ProgramState& state, maps& mainmaps, const settings& tables, logsamples& store, const EcuLink& link,
               Prompts& prompts);
  ~ProgressJobs();

  // Calls upward; null means nobody listens. The host must outlive the jobs or be reset to null first.
  void sethost(ProgressHost* host) { host_ = host ? host : &nullhost_; }

  // The logger window's grid while it is open (job 1 fills it); null when there is none.
  void setloggrid(LogGridModel* grid) { grid_ = grid; }

  // The window opened: the bar goes to 0 and the job named by progressjob begins; an unknown code closes at once.
  // While a job runs (also in its file dialog) nothing else begins: false, and the running job goes on.
  bool show();
  void tick();
  // A press on the bar puts it back to 0: the map synchronisation and the presets start their first step again.
  void pressbar();
  // The tuner closed the window while a job ran: an unfinished export leaves no file.
  void abandon();

  bool isopen() const { return open_; }
  float bar() const { return bar_; }
  std::uint8_t job() const { return job_; }
  Outcome outcome() const { return outcome_; }
  // The file an export or import used.
  QString path() const { return path_; }

 private:
  void timedstep();
  void gridstep();
  void csvstep();
  void mapsyncstep();
  void rawexportstep();
  void rawimportstep();
  void presetstep();
  void close(Outcome outcome);
  void exportfailed();
  void rawfailed();
  // Opens the export's file for writing; refused where a pipe, a device or a folder stands in its place.
  bool openexport();
  bool writechunk(const QByteArray& bytes);

  ProgramState& state_;
  maps& mainmaps_;
  const settings& tables_;
  logsamples& store_;
  const EcuLink& link_;
  Prompts& prompts_;
  ProgressHost nullhost_;
  ProgressHost* host_ = &nullhost_;
  LogGridModel* grid_ = nullptr;

  bool open_ = false;
  bool ticking_ = false;
  std::uint8_t job_ = 0;
  Outcome outcome_ = Outcome::done;
  float bar_ = 0.0f;
  std::int16_t timedcounter_ = 0;
  int stalledticks_ = 0;

  // An export in progress: the store as it was when the export began, the file being written and the next line.
  struct Export;
  std::unique_ptr<Export> export_;
  QString path_;
};

}  // namespace ostrel
