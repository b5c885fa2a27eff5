#include "web/update_check.h"

#include "ui/app.h"

UpdateCheckSetup updateCheck;

namespace {

constexpr char kMarkerWord[] = "Zilt";  // in the page of a current version
constexpr int kOkOnly = 0;              // MB_OK, no icon
constexpr int kProbeTimeoutMs = 5000;

}  // namespace

void CheckForUpdate() {
  // Stopped first, so that the check runs once however long it takes.
  app.runtime->SetTimerPeriod(WindowId::kMain, Timer::kTimer2, 0);
  const Text page = FetchUrlText(updateCheck.profileUrl);
  // A page that did not come says nothing about the version: only a fetched one lacking the word
  // asks for an update.
  if (page.empty() || OccursIn(kMarkerWord, page)) return;
  if (!IsInternetReachable(kProbeTimeoutMs, true)) return;
  app.runtime->ShowMessageBox("请下载最新版本,", kOkOnly);
  app.shell->ShellOpen(updateCheck.downloadPageUrl, "", 0);
  app.runtime->Exit(0);
}

Text FetchUrlText(const Text& url) {
  return TextFromBytes(updateCheck.fetch(url));
}

bool IsInternetReachable(int timeoutMs, bool useTimeout) {
  app.runtime->ProcessPendingEvents();
  // A reply that reports 0 ms is a reply all the same: near hosts answer in under a millisecond.
  return updateCheck.echo(updateCheck.probeHost, useTimeout ? timeoutMs : 2000) >= 0;
}
