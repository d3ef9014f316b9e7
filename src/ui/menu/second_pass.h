#pragma once

#include "input_file.h"
#include "letter_tally.h"

class QString;

namespace tallivo {

class FMain;
class MessageService;
class TextSource;

// A tool that reads the last analysis's text a second time checks that it read the same text:
// the same file stamp and the same letters. Returns whether it did; where not, tells the user
// that the file changed or vanished, under heading (for example "Impossibile decifrare").
bool SameAsAnalysed(FMain& window, MessageService& messages, const QString& heading,
                    const TextSource& source, const FileStamp& stamp, const LetterTally& letters);

} // namespace tallivo
