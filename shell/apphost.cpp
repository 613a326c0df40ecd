#include "shell/apphost.h"

#include "shell/connectionstate.h"
#include "shell/mainwindow.h"
#include "shell/shellhooks.h"
#include "shell/statuslog.h"

namespace ostrel {

void AppHost::drawpanel(bool redraw) {
  window_.drawpanel(redraw);
}

void AppHost::drawmap(bool redraw) {
  window_.drawmap(redraw);
}

void AppHost::scrollgridtocell(bool flag) {
  window_.views().scrollgridtocell(flag);
}

void AppHost::updategridhighlights(bool full) {
  window_.views().updategridhighlights(full);
}

void AppHost::filldatagrid(bool full) {
  window_.views().filldatagrid(full);
}

void AppHost::statusmessage(const QString& text, bool clear) {
  context_.log.statusmessage(text, clear);
}

void AppHost::debugmessage(const QString& text) {
  context_.log.debugmessage(text);
}

bool AppHost::checkcommsstate() {
  return ostrel::checkcommsstate(context_.state);
}

void AppHost::setcommsinterval(int ms) {
  window_.setcommsinterval(ms);
}

// The log sample store comes with the data logger; its counter stays negative until then.
void AppHost::addlogsample(const RxFrame&) {}

}  // namespace ostrel
