#include "ui/qt/program_icon.h"

#include <QtGlobal>

// The icons are compiled into korvalo_ui's archive, whose resource object no
// symbol pulls in by itself: register them by name.
static void RegisterProgramResources() {
  Q_INIT_RESOURCE(korvalo);
}

QIcon ProgramIcon() {
  static const bool registered = (RegisterProgramResources(), true);
  (void)registered;
  // The PNGs only: drawing the SVG would need Qt's SVG module.
  QIcon icon;
  for (const int size : {16, 32, 48, 128}) {
    icon.addFile(QStringLiteral(":/korvalo/korvalo-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}
