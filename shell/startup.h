#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

namespace ostrel {

struct ShellContext;
class frmSplash;
class VelkorV5;

// The start procedure: fills the program-wide tables in their fixed order behind the splash window, keeps the
// splash up for 30 of its timer ticks (about 3 s, counted from the moment the tables are done), then unloads it and
// shows the main window. begin() returns at once; the rest follows the splash's ticks in the event loop.
class StartProcedure : public QObject {
  Q_OBJECT

 public:
  static constexpr int splashticks = 30;

  explicit StartProcedure(ShellContext& context, QObject* parent = nullptr);
  ~StartProcedure() override;

  // Version numbers, splash, map protection table, preferences, units, default log profile, poll plans, help texts,
  // live-variable and start-up tables, byte tables, colours.
  void begin();

  frmSplash* splash() const;
  VelkorV5* mainwindow() const { return mainwindow_.get(); }

 signals:
  void mainwindowshown(VelkorV5* window);

 private:
  void splashticked(int count);
  void showmainwindow();

  ShellContext& context_;
  QPointer<frmSplash> splash_;
  std::unique_ptr<VelkorV5> mainwindow_;
};

}  // namespace ostrel
