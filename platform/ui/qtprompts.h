#pragma once

#include "platform/prompts.h"

class QWidget;

namespace ostrel {

// Real dialogs, parented to the given widget (may be null).
class QtPrompts final : public Prompts {
 public:
  explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
  void setparent(QWidget* parent) { parent_ = parent; }

  std::optional<QString> input(const QString& prompt, const QString& title, const QString& initial) override;
  QString openfilename(const QString& title, const QString& filter, const QString& initialpath) override;
  QString savefilename(const QString& title, const QString& filter, const QString& initialpath) override;
  std::optional<QColor> colour(const QColor& initial) override;

 protected:
  Answer showmessage(const QString& text, Icon icon, Buttons buttons, const QString& title) override;

 private:
  QWidget* parent_;
};

}  // namespace ostrel
