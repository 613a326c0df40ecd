#include "shell/placeholders.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "shell/connectionstate.h"

namespace ostrel {

PlaceholderWindow::PlaceholderWindow(const QString& name, const QString& caption, const QString& note,
                                     const ProgramState& state, QWidget* parent)
    : QWidget(parent), state_(state) {
  setObjectName(name);
  setWindowTitle(caption);
  setFocusPolicy(Qt::StrongFocus);
  label_ = new QLabel(note, this);
  label_->setObjectName(QStringLiteral("note"));
  label_->setAlignment(Qt::AlignCenter);
  label_->setWordWrap(true);
  label_->setTextInteractionFlags(Qt::NoTextInteraction);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label_);
}

void PlaceholderWindow::setnote(const QString& note) {
  label_->setText(note);
}

QString PlaceholderWindow::note() const {
  return label_->text();
}

void PlaceholderWindow::closeEvent(QCloseEvent* event) {
  keepopenonclose(this, event, state_);
}

}  // namespace ostrel
