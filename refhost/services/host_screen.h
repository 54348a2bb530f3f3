// What the host holds for the user besides its windows: the clipboard, the
// suggestion for the input being edited with the keys handed over for it,
// and the log viewer. Kept so that a script or a test can read them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace refhost {

// Mazovia texts, as the plug-in handed them over.
std::string ClipboardText();
std::string SuggestionText();
// The last key list handed to the host, without its terminating 0.
std::vector<uint16_t> PushedKeys();
// What the log viewer showed last (the file's bytes), and the path of
// that file ("" when it showed the text it was handed).
std::string ViewerContent();
std::string ViewerPath();

void SetClipboardText(std::string text);
void SetSuggestion(std::string text);
void SetPushedKeys(std::vector<uint16_t> keys);
void SetViewer(std::string path, std::string content);

}  // namespace refhost
