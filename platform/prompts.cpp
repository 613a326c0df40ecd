#include "platform/prompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace ostrel {

Prompts::Answer QtPrompts::showmessage(const QString& text, Icon icon, Buttons buttons, const QString& title) {
  QMessageBox box(parent_);
  box.setWindowTitle(title.isEmpty() ? programtitle : title);
  box.setText(text);
  switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
  }
  switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
  }
}

std::optional<QString> QtPrompts::input(const QString& prompt, const QString& title, const QString& initial) {
  bool ok = false;
  const QString text = QInputDialog::getText(parent_, title.isEmpty() ? programtitle : title, prompt, QLineEdit::Normal,
                                             initial, &ok);
  if (!ok) return std::nullopt;
  return text;
}

QString QtPrompts::openfilename(const QString& title, const QString& filter, const QString& initialpath) {
  return QFileDialog::getOpenFileName(parent_, title, initialpath, filter);
}

QString QtPrompts::savefilename(const QString& title, const QString& filter, const QString& initialpath) {
  return QFileDialog::getSaveFileName(parent_, title, initialpath, filter);
}

std::optional<QColor> QtPrompts::colour(const QColor& initial) {
  const QColor c = QColorDialog::getColor(initial, parent_);
  if (!c.isValid()) return std::nullopt;
  return c;
}

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
