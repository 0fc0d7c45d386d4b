#pragma once

#include <QStringList>

// The commands of quirna-tool. Each prints the paths it wrote, one per line, and returns 0; bad
// input gets one line on stderr and a non-zero result.
namespace ToolCommands {
int run(const QStringList &arguments);
QString usage();
} // namespace ToolCommands
