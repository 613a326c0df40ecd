#pragma once

#include <QColor>
#include <QString>
#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace ostrel {

// Every question and message the program puts to the user goes through this interface, so that the
// logic beneath the windows can be tested with scripted answers and no test ever blocks on a dialog.
class Prompts {
 public:
  enum class Icon { None, Information, Exclamation, Question, Critical };
  enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
  enum class Answer { Ok, Cancel, Yes, No };

  virtual ~Prompts() = default;

  // A message box; an empty title means the program's own title.
  Answer message(const QString& text, Icon icon = Icon::None, Buttons buttons = Buttons::Ok,
                 const QString& title = {}) {
    return showmessage(text, icon, buttons, title);
  }
  // An input box; empty when cancelled.
  virtual std::optional<QString> input(const QString& prompt, const QString& title, const QString& initial) = 0;
  // File dialogs; an empty path means the user cancelled.
  virtual QString openfilename(const QString& title, const QString& filter, const QString& initialpath) = 0;
  virtual QString savefilename(const QString& title, const QString& filter, const QString& initialpath) = 0;
  // Colour picker; empty when cancelled.
  virtual std::optional<QColor> colour(const QColor& initial) = 0;

 protected:
  virtual Answer showmessage(const QString& text, Icon icon, Buttons buttons, const QString& title) = 0;
};

inline const QString programtitle = QStringLiteral("ostrel");

// Records every prompt and answers from scripted queues; used by tests.
class RecordingPrompts final : public Prompts {
 public:
  struct Record {
    enum class Kind { Message, Input, OpenFile, SaveFile, Colour } kind;
    QString text;  // message text, input prompt or dialog title
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    QString title;
  };

  std::vector<Record> records;
  std::deque<Answer> answers;            // next message answers; when empty, defaultanswer(buttons)
  std::deque<std::optional<QString>> inputs;
  std::deque<QString> paths;             // answers of both file dialogs; empty string = cancel
  std::deque<std::optional<QColor>> colours;

  std::optional<QString> input(const QString& prompt, const QString& title, const QString& initial) override;
  QString openfilename(const QString& title, const QString& filter, const QString& initialpath) override;
  QString savefilename(const QString& title, const QString& filter, const QString& initialpath) override;
  std::optional<QColor> colour(const QColor& initial) override;

  // The texts of all message boxes shown so far, in order.
  std::vector<QString> messages() const;
  void clear() { records.clear(); }

  static Answer defaultanswer(Buttons buttons);

 protected:
  Answer showmessage(const QString& text, Icon icon, Buttons buttons, const QString& title) override;
};

}  // namespace ostrel
