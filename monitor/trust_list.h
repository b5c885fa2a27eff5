// The trust list: a text file beside the executable that names the processes never to report.
// A name is trusted when it occurs anywhere in the file (a substring, case-sensitive), the
// header line included. The file is never parsed into lines.
#pragma once

#include "base/text.h"

// 41 bytes in code page 936.
inline constexpr char kTrustHeader[] = "'将不想被通知的进程 写在下面(一行一个):\r\n";

Text TrustFilePath(const Text& runDirectory);

// Writes the header line as a new file when nothing exists at the path; a failure is silent
// and the next start tries again.
void EnsureTrustFile(const Text& path);

// Appends "\r\n" and the name to the file, every byte of the old content kept (those after a
// zero byte too). A missing file is created without the header. False when the old content
// cannot be read or the new one cannot be written; the old file is then left whole.
bool AppendTrustedName(const Text& path, const Text& name);
