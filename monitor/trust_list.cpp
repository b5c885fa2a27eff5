#include "monitor/trust_list.h"

#include "platform/files.h"

Text TrustFilePath(const Text& runDirectory) {
  return runDirectory + kPathSeparator + "岫灯_不通知的进程.txt";
}

void EnsureTrustFile(const Text& path) {
  if (!PathExists(path)) WriteFileBytes(path, BytesFromText(kTrustHeader));
}

bool AppendTrustedName(const Text& path, const Text& name) {
  std::optional<Bytes> content = TryReadFileBytes(path);
  if (!content) {
    // Only a missing file may start afresh: an unreadable one still holds the user's list.
    if (PathExists(path)) return false;
    content.emplace();
  }
  const Bytes line = BytesFromText("\r\n" + name);
  content->insert(content->end(), line.begin(), line.end());
  return WriteFileBytes(path, *content);
}
