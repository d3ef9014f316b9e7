#pragma once

#include <string>

namespace tallivo {

class MessageService;

// Times the workbench on the first 16 MiB of fileName: a change of key in the core (the new
// counts, the figures and the mapped text) for each kind of cipher, the period table with the
// Kasiski examination, and a change of shift through the window on 1 MiB and on 16 MiB.
// Prints one line a figure; returns false, with a message, where a result is wrong.
bool RunWorkbenchBenchmark(const std::string& fileName, MessageService& messages);

} // namespace tallivo
