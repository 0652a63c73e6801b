#pragma once

#include <string>

namespace kelvaro {

class FileSystem;
class MessageSink;
class PrintBackend;

// The collaborators every window works with, built once by main and handed
// from the start window to each window it opens; tests build their own. All
// of them outlive the windows.
struct WindowContext {
    PrintBackend& printBackend;  // the program's one current printer
    FileSystem& fileSystem;      // how the catalogue's files are reached
    MessageSink& messages;       // message boxes and questions
    std::string catalogueFolder; // where jixing.dat and the machine files live
};

} // namespace kelvaro
