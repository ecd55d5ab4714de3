// Any bytes as translate.dat, then lookups, additions and deletions on what was read.
#include "translate/translations.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pm::Translator tr(nullptr, 100);
    tr.InitTranslationsFromBytes(data, size);
    tr.setLanguage(1);
    tr.TranslateText(u"  Neu ");
    tr.TranslateText(u"Abstand");
    if (tr.rowCount() > 0) {
        tr.TranslateText(tr.cell(0, 0));
        tr.deleteRow(0);
        tr.TranslateText(u"Neu");
    }
    return 0;
}
