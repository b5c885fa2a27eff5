#include "web/update_check.h"

#include "ui/app.h"

void CheckForUpdate() {
  // Stopped first, so that the check runs once however long it takes.
  app.runtime->SetTimerPeriod(WindowId::kMain, Timer::kTimer2, 0);
}
