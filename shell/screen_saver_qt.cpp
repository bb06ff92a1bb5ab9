#include "shell/screen_saver_qt.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>

namespace {

QDBusInterface* Service() {
  static QDBusInterface* service = [] {
    auto* s = new QDBusInterface("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                                 "org.freedesktop.ScreenSaver", QDBusConnection::sessionBus());
    return s;
  }();
  return service->isValid() ? service : nullptr;
}

}  // namespace

void ScreenSaverBlock::Hold() {
  if (held_ || !QDBusConnection::sessionBus().isConnected()) return;
  QDBusInterface* s = Service();
  if (!s) return;
  QDBusReply<unsigned> reply = s->call("Inhibit", "Vrask", "A game is running");
  if (!reply.isValid()) return;
  cookie_ = reply.value();
  held_ = true;
}

void ScreenSaverBlock::Release() {
  if (!held_) return;
  if (QDBusInterface* s = Service()) s->call("UnInhibit", cookie_);
  held_ = false;
}
