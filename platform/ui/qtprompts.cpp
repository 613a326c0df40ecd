#include "platform/ui/qtprompts.h"

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

}  // namespace ostrel
