// Texts as the documents keep them: the bytes of the Windows-1252 code page. Letters are folded in the
// ASCII range only; conversion to Unicode happens at the edges (JSON, the window's strings).
#pragma once
#include <string>
#include <string_view>

namespace qv {

// The text with the letters a-z as A-Z; every other character as it is.
std::string UpperCase(std::string text);

// The extension of a file name, dot included, in capitals (".MNF"); empty when it has none.
std::string UpperExtension(const std::string& fileName);

// Equal with the letters a-z taken as A-Z; every other character compares by its code.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// The Windows-1252 bytes as UTF-8; the five codes that the code page leaves undefined become the C1
// controls of the same value.
std::string Cp1252ToUtf8(const std::string& bytes);

}  // namespace qv
