#pragma once

namespace tallivo {

class MessageService;
class OpenFileDialog;

// What the windows ask of the platform that a test must be able to replace.
struct PlatformServices {
    OpenFileDialog& dialog;
    MessageService& messages;
};

} // namespace tallivo
