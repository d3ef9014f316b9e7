#pragma once

namespace tallivo {

class ClipboardText;
class MessageService;
class OpenFileDialog;
class ReadProgress;
class WindowService;

// What the windows ask of the platform that a test must be able to replace.
struct PlatformServices {
    OpenFileDialog& dialog;
    MessageService& messages;
    ReadProgress& progress;
    WindowService& windows;
    ClipboardText& clipboard;
};

} // namespace tallivo
