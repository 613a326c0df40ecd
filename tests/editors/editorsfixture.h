#pragma once

#include <QLocale>
#include <QPushButton>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "calibration/maps25.h"
#include "common/testrig.h"
#include "editors/editorcontext.h"
#include "editors/editorshost.h"
#include "editors/frmsettings.h"
#include "editors/frmtpscalibrate.h"
#include "calibration/maptree.h"
#include "editors/passwordfragments.h"
#include "editors/passwordparams.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel::test {

// Counts the calls the editors make upward.
struct RecordingEditorsHost final : EditorsHost {
  int navtrees = 0;
  int mapviews = 0;
  std::vector<int> progressjobs;
  std::vector<QString> statuslines;
  std::function<void()> onnavtree;  // looks at what the tree would be built from
  void buildnavtree() override {
    ++navtrees;
    if (onnavtree) onnavtree();
  }
  void statusmessage(const QString& text, bool /*clear*/) override { statuslines.push_back(text); }
  int versionminor() const override { return 64; }
  int revision() const override { return 8; }
  void openmapview() override { ++mapviews; }
  void runprogressjob(int job) override { progressjobs.push_back(job); }
};

// What waits in the link's queue: the image rows of the row writes in order, and the block tables ahead of them.
struct QueuedWrites {
  std::vector<int> rows;
  int blocktables = 0;
};
inline QueuedWrites queuedwrites(const EcuLink& link) {
  QueuedWrites q;
  for (const TransferRecord& r : link.transferqueue().records) {
    const int address = r.addresshigh * 256 + r.addresslow;
    if (r.op == 0x81) q.rows.push_back((address - 0x8000) / 16);
    if (r.op == 0x80 && address == 0x5680) ++q.blocktables;
  }
  return q;
}

// A number as the system writes it: the C-locale text with the system's decimal separator.
inline QString regional(QString ctext) {
  return ctext.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

// A password fragment as a test writes it into the passwords map.
struct Fragment {
  int index;
  int group, map, first, last;
  std::uint8_t seed = seedon;
  QString password = QStringLiteral("secret");
};

inline FragmentRow makerow(const Fragment& f) {
  FragmentRow row{};
  const PasswordBytes bytes = passwordbytes(f.password);
  std::copy(bytes.begin(), bytes.end(), row.begin());
  row[fragmentbyte::group] = static_cast<std::uint8_t>(f.group);
  row[fragmentbyte::map] = static_cast<std::uint8_t>(f.map);
  row[fragmentbyte::firstrow] = static_cast<std::uint8_t>(f.first);
  row[fragmentbyte::lastrow] = static_cast<std::uint8_t>(f.last);
  return withchecks(row, f.seed);
}

inline void putrow(maps& m, int fragment, const FragmentRow& row) {
  for (int k = 0; k < 16; ++k) m.setdata(passwordsmap, fragment, k, row[static_cast<std::size_t>(k)], false);
}

// Every fragment reset and OFF, as in the shipped calibration; then the given ones.
inline void putfragments(maps& m, const std::vector<Fragment>& fragments) {
  for (int i = 0; i < fragmentcount; ++i)
    putrow(m, i, makerow({i, 0, 0, 0, 0, seedoff, resetpassword}));
  for (const Fragment& f : fragments) putrow(m, f.index, makerow(f));
}

// The node of the password parameters' tree that reads `text` ("(Applies) " and a map or group name).
inline MapTreeNode appliesnode(const maps& mainmaps, const MapGuards& guards, const QString& text) {
  for (const MapTreeNode& node : maptree(mainmaps, guards, appliesprefix))
    if (node.text == text) return node;
  return {};
}

// Opens the throttle calibration from the settings editor's menu and presses its three buttons in turn.
inline void pressallthrottlebuttons(ScriptedLauncher& scripted, frmSettings& window) {
  scripted.scripts.push_back([](QDialog& dialog) {
    auto& tps = dynamic_cast<frmTPSCalibrate&>(dialog);
    tps.Command1->click();
    tps.Command2->click();
    tps.Command3->click();
  });
  window.mnuTPSCalibrate->trigger();
}

// The editor over the test rig's calibration, settings and link (the in-process simulator).
struct EditorRig : Rig {
  RecordingEditorsHost host;
  Maps25 oldmaps;
  EditorContext context{state, prompts, mainmaps, mainsettings, link, host, templatemaps, oldmaps};

  // Opens the settings editor on a settings map, shown but not modal.
  std::unique_ptr<frmSettings> open(int map) {
    state.curmap = static_cast<std::uint8_t>(map);
    auto window = std::make_unique<frmSettings>(context);
    window->show();
    return window;
  }
  std::uint8_t raw(int map, int n) const { return static_cast<std::uint8_t>(mainmaps.getdata(map, n / 16, n % 16)); }
  void setraw(int map, int n, int value) { mainmaps.setdata(map, n / 16, n % 16, value, false); }
};

}  // namespace ostrel::test
