// libFuzzer target: a settings file of arbitrary bytes, decoded as the reader decodes a file (byte-order
// mark or system code page) and parsed into sections, keys, values and quoted lists; whatever the
// reader makes of it, the writer must be able to save again (Save Settings after Load Settings).
#include "lib/Ini.h"
#include "lib/TextFile.h"

#include <cstdint>

using namespace tabulon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = decodeText(Bytes(data, data + size), "");
    const DictionaryPtr settings = ParseIniText(text);
    bool onlySections = true;
    for (const auto& [name, value] : settings->entries())
        onlySections = onlySections && value.isDictionary();
    if (onlySections)
        ParseIniText(FormatIniText(*settings));
    return 0;
}
