#pragma once

#include <array>
#include <cstdint>

#include "editors/editorcontext.h"
#include "editors/passwordeditor.h"
#include "livewindows/livewindow.h"

class QAction;
class QMenu;
class QMenuBar;
class QPushButton;
class QTableWidget;

namespace ostrel {

// The passwords window: one grid row per password fragment (set and entered password, what it protects, file, ECU
// and fragment status) with TURN ON, TURN OFF and RESET beside it. It is the live window of selector 17: its timer
// keeps the protection table and the entered passwords that the link sends to the ECU up to date, and the ECU's
// match mask comes back into the ECU status column. The decisions live in PasswordEditor; this class shows them.
class frmPasswords : public LiveWindow {
  Q_OBJECT

 public:
  static constexpr std::uint8_t selector = 17;
  static constexpr int timerms = 500;
  static constexpr int closeafter = 3;  // foreign timer ticks

  explicit frmPasswords(EditorContext& context, QWidget* parent = nullptr);
  ~frmPasswords() override;

  // Opens the window modally and returns once it has closed; without the password feature only says so.
  static void showmodal(EditorContext& context, QWidget* parent);

  QMenuBar* menubar = nullptr;
  QMenu* mnuPasswords = nullptr;
  QAction* mnuExit = nullptr;
  QMenu* mnuHelp = nullptr;
  QAction* mnuOverview = nullptr;
  QAction* mnuUsing = nullptr;
  QAction* mnuManaging = nullptr;
  QTableWidget* PassGrid = nullptr;
  std::array<QPushButton*, 8> CommandON{};
  std::array<QPushButton*, 8> CommandOFF{};
  std::array<QPushButton*, 8> CommandRESET{};

  PasswordEditor& editor() { return editor_; }
  // The fragment last handed to the parameters dialog.
  int pwediting() const { return pwediting_; }

  // The window data of the live poll: the ECU status column from the ECU's match mask.
  void passdata(const RxFrame& rxframe);
  // Redraws the grid from the fragments, taking the file status matches afresh.
  void refreshpasswordgrid();

  void PassGrid_Click(int row, int column);
  void CommandON_Click(int index);
  void CommandOFF_Click(int index);
  void CommandRESET_Click(int index);
  void mnuExit_Click();
  void mnuOverview_Click();
  void mnuUsing_Click();
  void mnuManaging_Click();

  static const QString overviewtext;
  static const QString usingtext;
  static const QString managingtext;

 protected:
  void reportdata(const RxFrame& rxframe) override { passdata(rxframe); }
  void timertick() override { editor_.timertick(); }

 private:
  void buildcontrols();
  void setcell(int row, int column, const GridCell& cell);
  void after(PasswordEditor::After what, int fragment);
  void help(const QString& text);

  EditorContext& context_;
  PasswordEditor editor_;
  int pwediting_ = 0;
};

}  // namespace ostrel
