#include "platform/prompts.h"

namespace ostrel {

Prompts::Answer RecordingPrompts::defaultanswer(Buttons buttons) {
  switch (buttons) {
    case Buttons::YesNo:
    case Buttons::YesNoCancel: return Answer::Yes;
    default: return Answer::Ok;
  }
}

Prompts::Answer RecordingPrompts::showmessage(const QString& text, Icon icon, Buttons buttons, const QString& title) {
  records.push_back({Record::Kind::Message, text, icon, buttons, title});
  if (answers.empty()) return defaultanswer(buttons);
  const Answer a = answers.front();
  answers.pop_front();
  return a;
}

std::optional<QString> RecordingPrompts::input(const QString& prompt, const QString& title, const QString&) {
  records.push_back({Record::Kind::Input, prompt, Icon::None, Buttons::OkCancel, title});
  if (inputs.empty() || !inputs.front().has_value()) {
    if (!inputs.empty()) inputs.pop_front();
    return std::nullopt;
  }
  const QString text = *inputs.front();
  inputs.pop_front();
  return text;
}

QString RecordingPrompts::openfilename(const QString& title, const QString&, const QString&) {
  records.push_back({Record::Kind::OpenFile, title, Icon::None, Buttons::Ok, title});
  if (paths.empty()) return {};
  QString p = paths.front();
  paths.pop_front();
  return p;
}

QString RecordingPrompts::savefilename(const QString& title, const QString&, const QString&) {
  records.push_back({Record::Kind::SaveFile, title, Icon::None, Buttons::Ok, title});
  if (paths.empty()) return {};
  QString p = paths.front();
  paths.pop_front();
  return p;
}

std::optional<QColor> RecordingPrompts::colour(const QColor&) {
  records.push_back({Record::Kind::Colour, {}, Icon::None, Buttons::Ok, {}});
  if (colours.empty()) return std::nullopt;
  auto c = colours.front();
  colours.pop_front();
  return c;
}

std::vector<QString> RecordingPrompts::messages() const {
  std::vector<QString> out;
  for (const auto& r : records)
    if (r.kind == Record::Kind::Message) out.push_back(r.text);
  return out;
}

}  // namespace ostrel
