#pragma once

#include <QWidget>

class QLabel;

namespace ostrel {

struct ProgramState;

// Stands in for a permanent child window that a later part of the program provides (the navigation tree): it carries
// the window's name and caption, shows a short note, passes its keys on to whoever filters them (the main window hands
// them to the keyboard handler), and like every permanent child window it minimises instead of closing while the
// program runs.
class PlaceholderWindow : public QWidget {
  Q_OBJECT

 public:
  PlaceholderWindow(const QString& name, const QString& caption, const QString& note, const ProgramState& state,
                    QWidget* parent = nullptr);

  void setnote(const QString& note);
  QString note() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  const ProgramState& state_;
  QLabel* label_ = nullptr;
};

}  // namespace ostrel
